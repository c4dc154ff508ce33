// The HTML report: the embedded report template with its placeholders filled.
#pragma once

#include "input/Snapshot.h"

#include <cstdint>
#include <string>

// One row of the report placeholder table: a placeholder as the template's
// source holds it ("&lt;PA__&gt;") and the metric that replaces it.
struct PlaceholderEntry
{
    const char* pszPlaceholder;
    std::int32_t nMetric;
};

constexpr int PLACEHOLDER_COUNT = 28;
extern const PlaceholderEntry g_aReportPlaceholders[PLACEHOLDER_COUNT];

// The title made safe for the report's windows-1252 page: &, <, >, " and '
// become entities, and every character outside ASCII a numeric character
// reference (the title is UTF-8; a byte that is not valid UTF-8 becomes
// U+FFFD).
std::string EscapeHtmlTitle(const std::string& strTitle);

// Replaces the first occurrence of each placeholder in strText: the 28 metrics
// (value times 100 as "%5.1f%%"), then the schedule, cost and technical
// weights likewise, then "&lt;FILENAME&gt;" with the snapshot's escaped
// title. A placeholder the text lacks is skipped.
void FillReportTemplate(std::string& strText, const SSnapshot& snapshot);

// The filled template; empty when the program holds no template.
std::string MakeHtmlReport(const SSnapshot& snapshot);

// Writes the report to strPath byte for byte, replacing the file only once
// it is complete. Without a template nothing is written. Throws CFileException.
void WriteHtmlReport(const SSnapshot& snapshot, const std::string& strPath);
