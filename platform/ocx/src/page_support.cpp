#include "ocx/page_support.h"

namespace ocx {

const automation::Guid& PageSupport::iid() {
  static const automation::Guid kIid =
      *automation::Guid::parse("{BF101EA0-8C32-11D0-AAEC-0000C05F07C7}");
  return kIid;
}

PageSupport::~PageSupport() = default;

PageSupport* pageSupportOf(automation::Dispatch* object) {
  return dynamic_cast<PageSupport*>(object);
}

}  // namespace ocx
