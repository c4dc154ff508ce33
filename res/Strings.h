// String table lookup.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// The text of string-table entry nId; empty text for an id the table lacks.
// The reference stays valid for the whole run.
const std::string& LoadResString(int nId);

// The text of entry nId with %1, %2, ... replaced by the arguments in order.
std::string LoadResText(int nId, std::initializer_list<std::string_view> args);
