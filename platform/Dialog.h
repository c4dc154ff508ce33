// Dialogs built from templates, with numeric control ids, window messages,
// data exchange and menus: the backend of the platform the program is built for.
#pragma once

#if defined(_WIN32)
#include "platform/win32/Dialog.h"
#elif defined(__EMSCRIPTEN__)
#include "platform/web/Dialog.h"
#else
#include "platform/qt/Dialog.h"
#endif
