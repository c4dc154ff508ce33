// The program's pictures: the main icon (PNG, every theme size) and the
// eyeball bitmap (XPM, for 1x and 2x screens).
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

// One picture of an icon or bitmap: XPM rows or PNG bytes, drawn for a number
// of device pixels per logical pixel.
struct CResImage
{
    const char* const* ppXpm = nullptr;  // XPM image (header, colours, rows), or
    const unsigned char* pPng = nullptr; // the bytes of a PNG file
    std::size_t nPngSize = 0;
    int nScale = 1;
};

// The pictures of an icon or bitmap id, largest first; empty for an unknown id.
std::vector<CResImage> FindResImages(int nId);

// The picture drawn for a pixel ratio or the next finer one, else the finest
// there is; none for an unknown id.
std::optional<CResImage> FindResImage(int nId, double dPixelRatio);

// The program icon's sizes, rendered from its SVG at build time (largest
// first; empty in a build without the Qt program).
std::vector<CResImage> MainIconImages();
