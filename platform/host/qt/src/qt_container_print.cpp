// The container's printing: built only where Qt PrintSupport is, beside the rest of the site.
#include "host/qt/print_services.h"
#include "qt_container_site.h"

namespace host::qt {

ocx::PrintServices* QtContainer::Site::printServices() {
  if (!print_) print_ = std::make_unique<QtPrintServices>();
  return print_.get();
}

}  // namespace host::qt
