#include "recorder/form_host.h"

#include "recorder/ole_date.h"

namespace recorder {

double FormHost::timeOfDay() const { return currentTimeOfDay(); }

}  // namespace recorder
