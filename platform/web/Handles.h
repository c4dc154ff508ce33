// The browser backend's handles: a window is the number of its element in
// the page's table of elements (0 for none), an icon the id of its pictures.
#pragma once

struct HWND__;
using HWND = HWND__*;
using HICON = int;
