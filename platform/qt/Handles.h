// The Qt backend's handles: a window is a QWidget, an icon a QIcon, and a
// dialog is a QDialog.
#pragma once

#include <QDialog>
#include <QIcon>
#include <QPixmap>

using HWND = QWidget*;
using HICON = QIcon;
using AfxDialogBase = QDialog;

// The bitmap's picture for a device pixel ratio (0: the application's), with
// that ratio set, so that it always shows at the 1x picture's logical size.
QPixmap AfxLoadBitmap(int nId, double dPixelRatio = 0);
