// <windows.h> for Velkor's own code: without the rarely used parts, without
// min/max, and without the macros that would rename the framework's members
// of the same names (GetFileTitle, MessageBox, SendMessage, ...). Include
// this instead of <windows.h>.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef CreateDialog
#undef DialogBox
#undef GetDlgItemText
#undef SetDlgItemText
#undef DrawText
#undef GetFileTitle
#undef GetMessage
#undef LoadBitmap
#undef LoadIcon
#undef LoadString
#undef MessageBox
#undef PostMessage
#undef SendMessage
#undef SetWindowText
#undef GetWindowText
#undef UpdateData
