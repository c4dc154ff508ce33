// What each backend implements for the shared part of the framework.
#pragma once

#include "platform/Afx.h"

#include <string>

// The program file's name without folder and extension; empty before the
// application exists.
std::string AfxProgramName();
// Shows a message box for real and returns IDOK, IDCANCEL, IDYES or IDNO.
int AfxShowMessageBox(const std::string& strText, const std::string& strCaption, UINT nType);

class CDialog;
class CWnd;

// The control of dlg that has the keyboard focus; null for none.
HWND AfxGetFocus(const CDialog& dlg);
void AfxSetFocus(CWnd& wnd);
// Makes a control a stop of the Tab key or takes it out of the Tab order.
void AfxSetTabStop(CWnd& wnd, bool bTabStop);
// A button of a group that an arrow key reaches in the direction nStep:
// it takes the focus and is clicked as with the mouse.
void AfxFocusAndClick(CWnd& wnd, int nStep);
