#include "ocx/services.h"

#include "ocx/control_site.h"
#include "ocx/dde_link.h"
#include "ocx/ole_color.h"
#include "ocx/printing.h"

namespace ocx {

PeriodicTimer::~PeriodicTimer() = default;
Clipboard::~Clipboard() = default;
ControlSite::~ControlSite() = default;
DdeSite::~DdeSite() = default;
DdeDataSource::~DdeDataSource() = default;
PrinterDC::~PrinterDC() = default;
AbortDialog::~AbortDialog() = default;
PrintServices::~PrintServices() = default;

gdi::ColorRef ControlSite::systemColor(int index) const { return classicSystemColor(index); }

}  // namespace ocx
