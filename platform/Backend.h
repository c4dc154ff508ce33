// What each backend implements for the shared part of the framework.
#pragma once

#include "platform/Afx.h"

#include <string>

// The program file's name without folder and extension; empty before the
// application exists.
std::string AfxProgramName();
// Shows a message box for real and returns IDOK, IDCANCEL, IDYES or IDNO.
int AfxShowMessageBox(const std::string& strText, const std::string& strCaption, UINT nType);
