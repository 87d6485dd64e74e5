#include <cstddef>
#include <limits>
#include <new>

#include "automation/automation.h"

namespace automation {
namespace {

// The platform refuses a further lock at this count; callers report it as a failed lock.
constexpr std::uint32_t kMaxLocks = 0xFFFF;

}  // namespace

std::size_t SafeArray::sizeOf(VarType element) {
  switch (element) {
    case VT_I1:
    case VT_UI1:
      return 1;
    case VT_I2:
    case VT_UI2:
    case VT_BOOL:
      return 2;
    case VT_I4:
    case VT_UI4:
    case VT_R4:
    case VT_ERROR:
      return 4;
    case VT_R8:
    case VT_DATE:
      return 8;
    case VT_BSTR:
      return sizeof(std::string);
    case VT_VARIANT:
      return sizeof(Variant);
    default:
      return 0;
  }
}

SafeArray::SafeArray(VarType element, std::size_t count, std::int32_t lowerBound)
    : element_(element), elementSize_(sizeOf(element)), count_(count), lowerBound_(lowerBound) {}

std::shared_ptr<SafeArray> SafeArray::create(VarType element, std::size_t count,
                                             std::int32_t lowerBound) {
  const std::size_t size = sizeOf(element);
  if (size == 0) return nullptr;
  // Refuse sizes that would wrap or that no allocator can satisfy, without asking for them.
  constexpr auto kMaxBytes = static_cast<std::size_t>(std::numeric_limits<std::ptrdiff_t>::max());
  if (count > kMaxBytes / size) return nullptr;
  const std::size_t bytes = count * size;

  std::shared_ptr<SafeArray> array(new (std::nothrow) SafeArray(element, count, lowerBound));
  if (!array) return nullptr;
  if (bytes == 0) return array;

  void* storage = ::operator new(bytes, std::nothrow);
  if (storage == nullptr) return nullptr;
  auto* bytePtr = static_cast<unsigned char*>(storage);
  switch (element) {
    case VT_VARIANT:
      for (std::size_t i = 0; i < count; ++i) new (bytePtr + i * size) Variant();
      break;
    case VT_BSTR:
      for (std::size_t i = 0; i < count; ++i) new (bytePtr + i * size) std::string();
      break;
    default:
      for (std::size_t i = 0; i < bytes; ++i) bytePtr[i] = 0;
      break;
  }
  array->data_ = storage;
  return array;
}

// An array is freed when its last owner lets go, even if a caller forgot an unlock: the
// elements are destroyed and the storage released rather than leaked or left dangling.
SafeArray::~SafeArray() {
  if (data_ == nullptr) return;
  if (element_ == VT_VARIANT) {
    auto* elements = static_cast<Variant*>(data_);
    for (std::size_t i = 0; i < count_; ++i) elements[i].~Variant();
  } else if (element_ == VT_BSTR) {
    auto* elements = static_cast<std::string*>(data_);
    for (std::size_t i = 0; i < count_; ++i) elements[i].~basic_string();
  }
  ::operator delete(data_);
}

bool SafeArray::lock() {
  if (locks_ >= kMaxLocks) return false;
  ++locks_;
  return true;
}

void SafeArray::unlock() {
  if (locks_ > 0) --locks_;
}

}  // namespace automation
