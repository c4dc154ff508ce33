// What both backends' dialogs declare alike: dialog units, the guard that
// shows file errors, and data exchange.
#pragma once

#include "platform/Afx.h"

#include <functional>
#include <string>

class CDialog;
class CWnd;

// Dialog units to pixels for the dialog font, base units 6 x 13: x scales by
// 6/4 and y by 13/8, rounded to nearest with halves up; each edge is mapped
// on its own, so the width is right - left.
#if defined(_WIN32)
// The system's, which rounds the same way.
extern "C" __declspec(dllimport) int __stdcall MulDiv(int nNumber, int nNumerator,
                                                      int nDenominator);
#else
int MulDiv(int nNumber, int nNumerator, int nDenominator);
#endif
CRect MapDialogRect(int x, int y, int cx, int cy);

// Runs fn as a message handler: a CFileException that leaves it is shown in
// a message box (its message, stop icon, OK, the application's title as
// caption) and the program carries on. False when that happened.
bool AfxCallGuarded(const std::function<void()>& fn);

class CDataExchange
{
public:
    BOOL m_bSaveAndValidate; // TRUE: controls -> fields
    CDialog* m_pDlgWnd;
};

void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value);
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
