// Decoding the UTF-8 strings callers pass as text, as everything else of ours decodes them.
#pragma once

#include "util/utf8.h"

namespace gdi::detail {

using util::kReplacementCharacter;
using util::nextCodePoint;

}  // namespace gdi::detail
