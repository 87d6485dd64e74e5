// The control's eleven property pages: identities, titles, help contexts and field bindings.
#pragma once

#include <span>

#include "automation/automation.h"
#include "ocx/property_page.h"

namespace kvplotax::pages {

std::span<const ocx::PageLayout> pageLayouts();
// The page of a class identifier, null when the class is not a page of this control.
const ocx::PageLayout* findPageLayout(const automation::Guid& clsid);

}  // namespace kvplotax::pages
