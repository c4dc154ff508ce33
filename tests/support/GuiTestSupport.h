// What the Qt suites share besides their main().
#pragma once

#include "platform/qt/Dialog.h" // the widgets of a dialog
#include "res/resource.h"

// Delivers posted messages, including those posted while handling one;
// inside a running modal loop processEvents alone does not deliver them.
void Pump();

// The id of the answer button in row r, column j of the main window.
inline int AnswerId(int r, int j)
{
    return IDC_ANSWER_FIRST + ANSWER_COLUMNS * r + j;
}
