#include "bezel/bezel_settings.h"

#include <initializer_list>

namespace kvplotax::bezel {

bool validateBevel(BevelSettings& bevel) {
  for (std::int32_t* width : {&bevel.widthInner, &bevel.widthOuter, &bevel.borderWidth}) {
    if (*width < 0) {
      *width = 0;
      return false;
    }
  }
  return true;
}

}  // namespace kvplotax::bezel
