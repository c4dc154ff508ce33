// What the Qt suites share besides their main().
#pragma once

#include "res/resource.h"

// Delivers posted messages, including those posted while handling one;
// inside a running modal loop processEvents alone does not deliver them.
void Pump();

// The id of the answer button in row r, column j of the main window.
inline int AnswerId(int r, int j)
{
    return IDC_ANSWER_FIRST + ANSWER_COLUMNS * r + j;
}
