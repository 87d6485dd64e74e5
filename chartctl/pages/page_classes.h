// The page classes' class objects, for the module's class-object entry.
#pragma once

#include "automation/server.h"

namespace kvplotax::pages {

// The class object of a page class, null when the class is not one of the control's pages.
automation::ClassFactory* pageFactory(const automation::Guid& clsid);

// Pages of this module still alive: the module must stay loaded while there are any.
int livePages();

}  // namespace kvplotax::pages
