// The Win32 backend's builders: dialog templates in memory, menus and
// bitmaps from the program's resources. Include after platform/win32/Windows.h.
#pragma once

#include "res/DialogTemplate.h"

#include <cstdint>
#include <vector>

// A DLGTEMPLATEEX with its items, in the dialog font (MS Shell Dlg, 8 points).
// Controls get WS_CHILD; static texts show '&' as typed.
std::vector<std::uint16_t> BuildDialogTemplate(const DlgTemplate& tpl);
// The menu bar of a menu template.
HMENU BuildMenu(const MenuTemplate& menu);
// The picture of bitmap nId for a DPI (96 = 100 %), scaled to its 1x size at
// that DPI; null for an unknown id.
HBITMAP LoadResBitmap(int nId, UINT nDpi);
