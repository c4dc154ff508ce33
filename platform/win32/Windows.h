// <windows.h> and the common controls for the Win32 backend's sources,
// included after the framework's own headers; the backend calls the wide
// functions by their own names.
#pragma once

#include "files/Win32.h" // <windows.h> with the clashing macros undone
#include "version/Utf.h" // UTF-8 inside the program, UTF-16 at the API

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <string>
#include <string_view>

// The window log: one line per event of the windows (shown, caption,
// control text, move, command, message box, file dialog), line breaks as
// \n, handed to the sink that a test build of the program installs; without
// a sink, nothing.
using AfxTraceSink = void (*)(const std::string& strLine);
void AfxSetTraceSink(AfxTraceSink pfnSink);
void AfxTrace(const std::string& strLine);
