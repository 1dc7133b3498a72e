// The text engine's font for a DC's selected font object. Opening a face
// costs a fontconfig lookup, so opened fonts are shared by description.
#pragma once
#include <memory>

#include "gdi/objects.h"
#include "text/font.h"

namespace win::gdi {

// The font `dc` draws with: its selected font, else the system font. Null
// only when no face at all can be opened.
std::shared_ptr<text::Font> EngineFont(const Dc* dc);

}  // namespace win::gdi
