// The font a device context holds until a font is selected.
#pragma once

#include <memory>

#include "gdi/font.h"
#include "gdi/log_font.h"

namespace gdi {

// Liberation Sans bold with a 16-pixel cell.
const LogFont& systemLogFont();
std::shared_ptr<const Font> systemFont();

}  // namespace gdi
