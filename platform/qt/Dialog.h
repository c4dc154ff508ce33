// What the Qt backend offers beside the framework's vocabulary: the dialog
// font, the colour arithmetic of its theme, and the widgets of a dialog for
// code that works with Qt itself (its tests).
#pragma once

#include "platform/Dialog.h"

#include <QColor>
#include <QFont>

class QAction;
class QMenuBar;

// 11-pixel Liberation Sans, letters 0.2 pixel closer than plain.
QFont AfxGetDialogFont();
// Colours as contrast is measured for readers: relative luminance 0..1, the
// ratio of two colours' luminances (1..21, each plus 0.05), and a mix of a
// with the share dShare of b.
double AfxLuminance(const QColor& color);
double AfxContrastRatio(const QColor& a, const QColor& b);
QColor AfxMixColors(const QColor& a, const QColor& b, double dShare);

// The widget below the menu bar that holds a dialog's controls, its menu bar
// (null without a menu) and the menu item of a command (null for none).
QWidget* AfxGetClientWidget(const CDialog& dlg);
QMenuBar* AfxGetMenuBar(const CDialog& dlg);
QAction* AfxGetMenuAction(const CDialog& dlg, UINT nID);
