// String table lookup.
#pragma once

#include <string>

// The text of string-table entry nId; empty text for an id the table lacks.
// The reference stays valid for the whole run.
const std::string& LoadResString(int nId);
