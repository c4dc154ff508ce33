// What every function of the page's binding shares: outputs as bytes or
// velkor-report's message, lists from JavaScript, formats by name.
#pragma once

#include "report/Formats.h"

#include <emscripten/val.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

using emscripten::val;

using Warn = std::function<void(const std::string&)>;

// A copy of the bytes as a Uint8Array.
val Bytes(const std::string& strBytes);
// { bytes } from fnWork, or { error } with velkor-report's message for a
// file error, a wrong file or a PDF that cannot be made; { warnings } with
// what fnWork passed to its argument, each as velkor-report prints it.
val Run(const std::function<std::string(const Warn&)>& fnWork);
// A JavaScript array of strings.
std::vector<std::string> Paths(const val& paths);
// "text", or an extension ("json"); nothing for another.
std::optional<EOutputFormat> Format(const std::string& strExtension);
