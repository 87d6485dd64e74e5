// Automation values and late binding: the types a client and a control exchange.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace automation {

enum VarType : std::uint16_t {
  VT_EMPTY = 0,
  VT_I2 = 2,
  VT_I4 = 3,
  VT_R4 = 4,
  VT_R8 = 5,
  VT_DATE = 7,
  VT_BSTR = 8,
  VT_DISPATCH = 9,
  VT_ERROR = 10,
  VT_BOOL = 11,
  VT_VARIANT = 12,
  VT_I1 = 16,
  VT_UI1 = 17,
  VT_UI2 = 18,
  VT_UI4 = 19,
  VT_ARRAY = 0x2000,
  VT_BYREF = 0x4000
};

using DispId = std::int32_t;
constexpr DispId kDispIdUnknown = -1;

// VARIANT_BOOL: true is all bits set.
constexpr std::int16_t kVariantTrue = -1;
constexpr std::int16_t kVariantFalse = 0;

struct Guid {
  std::uint32_t data1 = 0;
  std::uint16_t data2 = 0;
  std::uint16_t data3 = 0;
  std::uint8_t data4[8] = {};

  // Accepts "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" with or without braces, any case.
  static std::optional<Guid> parse(std::string_view text);
  // Upper-case, with braces.
  std::string toString() const;

  friend bool operator==(const Guid& a, const Guid& b);
  friend bool operator<(const Guid& a, const Guid& b);
};

class AutomationError : public std::runtime_error {
 public:
  AutomationError(std::int32_t scode, const std::string& description,
                  std::uint32_t helpContext = 0);
  ~AutomationError() override;

  // 0x800A0000 + number with the platform's text for the standard numbers (6, 13, 380, 383,
  // 394, 438); other numbers get an empty description.
  static AutomationError standard(std::uint16_t number);
  // A control's own error: number is already offset by the control's error base.
  static AutomationError custom(std::uint16_t number, const std::string& description);

  std::int32_t scode() const { return scode_; }
  std::uint32_t helpContext() const { return helpContext_; }
  std::uint16_t number() const { return static_cast<std::uint16_t>(scode_ & 0xFFFF); }

 private:
  std::int32_t scode_;
  std::uint32_t helpContext_;
};

// Standard error numbers.
constexpr std::uint16_t kErrOverflow = 6;
constexpr std::uint16_t kErrTypeMismatch = 13;
constexpr std::uint16_t kErrInvalidPropertyValue = 380;
constexpr std::uint16_t kErrSetNotSupported = 383;
constexpr std::uint16_t kErrGetNotSupported = 394;
constexpr std::uint16_t kErrNotSupported = 438;
constexpr std::uint16_t kErrCannotCreateObject = 429;

class Variant;

// One-dimensional array. Numeric element types hold their elements packed; VT_VARIANT arrays
// hold Variant objects and VT_BSTR arrays hold std::string objects, so data() points at those.
class SafeArray {
 public:
  static std::shared_ptr<SafeArray> create(VarType element, std::size_t count,
                                           std::int32_t lowerBound = 0);
  ~SafeArray();
  SafeArray(const SafeArray&) = delete;
  SafeArray& operator=(const SafeArray&) = delete;

  VarType elementType() const { return element_; }
  std::size_t elementSize() const { return elementSize_; }
  std::size_t count() const { return count_; }
  std::int32_t lowerBound() const { return lowerBound_; }
  void* data() { return data_; }
  const void* data() const { return data_; }

  // Access bracket: every successful lock() must be paired with one unlock().
  bool lock();
  void unlock();
  std::uint32_t locks() const { return locks_; }

  // Size in bytes of one element of the given numeric or automation type; 0 for unknown types.
  static std::size_t sizeOf(VarType element);

 private:
  SafeArray(VarType element, std::size_t count, std::int32_t lowerBound);

  VarType element_;
  std::size_t elementSize_;
  std::size_t count_;
  std::int32_t lowerBound_;
  std::uint32_t locks_ = 0;
  void* data_ = nullptr;
};

class Dispatch;

class Variant {
 public:
  Variant();
  Variant(std::int16_t value);
  Variant(std::int32_t value);
  Variant(float value);
  Variant(double value);
  Variant(bool value);
  Variant(std::string value);
  Variant(const char* value);
  Variant(std::shared_ptr<Dispatch> value);
  static Variant array(VarType element, std::shared_ptr<SafeArray> value);
  static Variant arrayRef(VarType element, std::shared_ptr<SafeArray>* value);
  static Variant ref(Variant* target);
  // Types without a constructor of their own.
  static Variant ofType(VarType type, double value);  // VT_I1, VT_UI1, VT_UI2, VT_UI4, VT_DATE
  static Variant error(std::int32_t scode);           // VT_ERROR, e.g. a missing optional

  Variant(const Variant&);
  Variant(Variant&&) noexcept;
  Variant& operator=(const Variant&);
  Variant& operator=(Variant&&) noexcept;
  ~Variant();

  VarType type() const { return type_; }
  bool isEmpty() const { return type_ == VT_EMPTY; }
  bool isArray() const;  // VT_ARRAY, by value or by reference, after following VT_VARIANT refs
  bool isByRef() const { return (type_ & VT_BYREF) != 0; }
  // Follows by-reference variants (VT_BYREF | VT_VARIANT) to the variant they name.
  const Variant& deref() const;
  Variant* refTarget() const;  // the target of VT_BYREF | VT_VARIANT, else null
  // Element type of an array variant (after deref), VT_EMPTY if not an array.
  VarType arrayElementType() const;
  // The array of an array variant, by value or by reference; null when none.
  std::shared_ptr<SafeArray> arrayValue() const;

  // OLE coercions; throw AutomationError 6 (overflow) or 13 (type mismatch).
  std::int16_t toI2() const;
  std::int32_t toI4() const;
  float toR4() const;
  double toR8() const;
  bool toBool() const;
  std::string toString() const;
  std::shared_ptr<Dispatch> toDispatch() const;

 private:
  void reset() noexcept;

  VarType type_ = VT_EMPTY;
  union {
    std::int64_t integer_;
    double real_;
    Variant* ref_;
    std::shared_ptr<SafeArray>* arrayRef_;
  };
  std::string string_;
  std::shared_ptr<Dispatch> dispatch_;
  std::shared_ptr<SafeArray> array_;
};

class Dispatch {
 public:
  virtual ~Dispatch();
  virtual DispId idOfName(std::string_view name) const = 0;  // case-insensitive, -1 if unknown
  virtual Variant get(DispId id) = 0;
  virtual void put(DispId id, const Variant& value) = 0;
  virtual Variant call(DispId id, std::span<Variant> args) = 0;  // declaration order

  // By name: unknown names raise error 438.
  Variant get(std::string_view name);
  void put(std::string_view name, const Variant& value);
  Variant call(std::string_view name, std::span<Variant> args);
};

}  // namespace automation
