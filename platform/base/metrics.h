// Sizes the GDI needs without asking the window core for its metrics.
#pragma once

namespace win {

// GetSystemMetrics(SM_CXICON) and SM_CYICON: the size DI_DEFAULTSIZE draws.
constexpr int kIconSize = 32;

}  // namespace win
