// The HTML report template (res/report.htm), embedded in the program when it
// is built. Its bytes are used exactly as stored: CR LF line ends, no line end
// after the closing html tag.
#pragma once

#include <string_view>

std::string_view GetReportTemplate();
