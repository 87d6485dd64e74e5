#include "automation/server.h"

namespace automation {

ClassFactory::~ClassFactory() = default;

}  // namespace automation
