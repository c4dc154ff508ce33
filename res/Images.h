// The program's pictures as XPM text: the main icon and the eyeball bitmap.
#pragma once

#include <vector>

// The pictures of an icon or bitmap id, largest first; empty for an unknown id.
// Each entry is an XPM image (header, colours, rows).
std::vector<const char* const*> FindResImages(int nId);
