// The 16-colour eyeball of the priority weights dialog (27 x 26 on light grey,
// and its 2x version). The program icon is made from res/desktop/velkor*.svg.
#include "res/Images.h"
#include "res/resource.h"

namespace
{
#include "res/eyeball-2x.xpm"
#include "res/eyeball.xpm"
} // namespace

std::vector<CResImage> FindResImages(int nId)
{
    switch (nId)
    {
    case IDI_MAIN:
        return MainIconImages();
    case IDB_EYEBALL:
        return {{.ppXpm = g_xpmEyeball2x, .nScale = 2}, {.ppXpm = g_xpmEyeball}};
    default:
        return {};
    }
}

std::optional<CResImage> FindResImage(int nId, double dPixelRatio)
{
    const std::vector<CResImage> images = FindResImages(nId);
    const CResImage* pBest = nullptr;
    for (const CResImage& image : images)
    {
        const bool bFits = image.nScale >= dPixelRatio;
        const bool bBestFits = pBest && pBest->nScale >= dPixelRatio;
        if (!pBest || (bFits ? !bBestFits || image.nScale < pBest->nScale
                             : !bBestFits && image.nScale > pBest->nScale))
            pBest = &image;
    }
    return pBest ? std::optional(*pBest) : std::nullopt;
}
