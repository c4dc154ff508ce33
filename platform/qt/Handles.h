// The Qt backend's handles: an icon is a QIcon.
#pragma once

#include <QIcon>
#include <QPixmap>

using HICON = QIcon;

// The bitmap's picture for a device pixel ratio (0: the application's), with
// that ratio set, so that it always shows at the 1x picture's logical size.
QPixmap AfxLoadBitmap(int nId, double dPixelRatio = 0);
