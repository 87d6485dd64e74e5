#include <cmath>
#include <cstring>
#include <utility>

#include "automation/automation.h"
#include "numeric_range.h"

namespace automation {
namespace {

constexpr auto kVariantRef = static_cast<VarType>(VT_BYREF | VT_VARIANT);
// Reference chains longer than this are treated as broken (they can only be cycles in practice).
constexpr int kMaxRefDepth = 64;

const Variant& emptyVariant() {
  static const Variant kEmpty;
  return kEmpty;
}

}  // namespace

Variant::Variant() : integer_(0) {}
Variant::Variant(std::int16_t value) : type_(VT_I2), integer_(value) {}
Variant::Variant(std::int32_t value) : type_(VT_I4), integer_(value) {}
Variant::Variant(float value) : type_(VT_R4), real_(value) {}
Variant::Variant(double value) : type_(VT_R8), real_(value) {}
Variant::Variant(bool value) : type_(VT_BOOL), integer_(value ? kVariantTrue : kVariantFalse) {}
Variant::Variant(std::string value) : type_(VT_BSTR), integer_(0), string_(std::move(value)) {}
Variant::Variant(const char* value)
    : type_(VT_BSTR), integer_(0), string_(value != nullptr ? value : "") {}
Variant::Variant(std::shared_ptr<Dispatch> value)
    : type_(VT_DISPATCH), integer_(0), dispatch_(std::move(value)) {}

// The array's own element type is what its data holds, so a differing declared type is refused
// rather than letting a reader walk the data with the wrong element size.
Variant Variant::array(VarType element, std::shared_ptr<SafeArray> value) {
  if (value && value->elementType() != element) {
    throw AutomationError::standard(kErrTypeMismatch);
  }
  Variant v;
  v.type_ = static_cast<VarType>(VT_ARRAY | element);
  v.array_ = std::move(value);
  return v;
}

Variant Variant::arrayRef(VarType element, std::shared_ptr<SafeArray>* value) {
  Variant v;
  v.type_ = static_cast<VarType>(VT_BYREF | VT_ARRAY | element);
  v.arrayRef_ = value;
  return v;
}

Variant Variant::ref(Variant* target) {
  Variant v;
  v.type_ = kVariantRef;
  v.ref_ = target;
  return v;
}

Variant Variant::ofType(VarType type, double value) {
  Variant v;
  switch (type) {
    case VT_EMPTY:
      return v;
    case VT_I1:
      v.integer_ = detail::roundToRange(value, -128, 127);
      break;
    case VT_UI1:
      v.integer_ = detail::roundToRange(value, 0, 255);
      break;
    case VT_I2:
      v.integer_ = detail::roundToRange(value, -32768, 32767);
      break;
    case VT_UI2:
      v.integer_ = detail::roundToRange(value, 0, 65535);
      break;
    case VT_I4:
      v.integer_ = detail::roundToRange(value, -2147483648LL, 2147483647LL);
      break;
    case VT_UI4:
      v.integer_ = detail::roundToRange(value, 0, 4294967295LL);
      break;
    case VT_R4:
      v.real_ = detail::toFloatChecked(value);
      break;
    case VT_R8:
    case VT_DATE:
      v.real_ = value;
      break;
    case VT_BOOL:
      v.integer_ = value != 0.0 ? kVariantTrue : kVariantFalse;
      break;
    default:
      throw AutomationError::standard(kErrTypeMismatch);
  }
  v.type_ = type;
  return v;
}

Variant Variant::error(std::int32_t scode) {
  Variant v;
  v.type_ = VT_ERROR;
  v.integer_ = scode;
  return v;
}

Variant::Variant(const Variant& other)
    : type_(other.type_), string_(other.string_), dispatch_(other.dispatch_), array_(other.array_) {
  std::memcpy(static_cast<void*>(&integer_), static_cast<const void*>(&other.integer_),
              sizeof(integer_));
}

Variant::Variant(Variant&& other) noexcept
    : type_(other.type_),
      string_(std::move(other.string_)),
      dispatch_(std::move(other.dispatch_)),
      array_(std::move(other.array_)) {
  std::memcpy(static_cast<void*>(&integer_), static_cast<const void*>(&other.integer_),
              sizeof(integer_));
  other.reset();
}

Variant& Variant::operator=(const Variant& other) {
  if (this != &other) {
    Variant copy(other);
    *this = std::move(copy);
  }
  return *this;
}

Variant& Variant::operator=(Variant&& other) noexcept {
  if (this != &other) {
    type_ = other.type_;
    std::memcpy(static_cast<void*>(&integer_), static_cast<const void*>(&other.integer_),
                sizeof(integer_));
    string_ = std::move(other.string_);
    dispatch_ = std::move(other.dispatch_);
    array_ = std::move(other.array_);
    other.reset();
  }
  return *this;
}

Variant::~Variant() = default;

void Variant::reset() noexcept {
  type_ = VT_EMPTY;
  integer_ = 0;
  string_.clear();
  dispatch_.reset();
  array_.reset();
}

const Variant& Variant::deref() const {
  const Variant* current = this;
  for (int depth = 0; current->type_ == kVariantRef; ++depth) {
    // A null or circular reference names no value: it reads as empty.
    if (current->ref_ == nullptr || depth == kMaxRefDepth) return emptyVariant();
    current = current->ref_;
  }
  return *current;
}

Variant* Variant::refTarget() const { return type_ == kVariantRef ? ref_ : nullptr; }

bool Variant::isArray() const { return (deref().type_ & VT_ARRAY) != 0; }

VarType Variant::arrayElementType() const {
  const Variant& v = deref();
  if ((v.type_ & VT_ARRAY) == 0) return VT_EMPTY;
  if (const auto array = v.arrayValue()) return array->elementType();
  return static_cast<VarType>(v.type_ & ~(VT_ARRAY | VT_BYREF));
}

std::shared_ptr<SafeArray> Variant::arrayValue() const {
  const Variant& v = deref();
  if ((v.type_ & VT_ARRAY) == 0) return nullptr;
  if ((v.type_ & VT_BYREF) != 0) return v.arrayRef_ != nullptr ? *v.arrayRef_ : nullptr;
  return v.array_;
}

}  // namespace automation
