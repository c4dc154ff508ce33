// The one table of output formats: extension, the writer of a project's
// report in that format, and the help line of each. The usage text, the
// commands' checks and the manual's list all come from it.
#pragma once

#include "report/PdfReport.h"
#include "report/Snapshot.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

enum class EOutputFormat
{
    text,
    html,
    json,
    csv,
    svg,
    pdf,
};

struct SOutputFormat
{
    EOutputFormat eFormat;
    const char* pszExtension; // without the dot, lower case
    // The project's report in this format.
    std::string (*pfnReport)(const SSnapshot& snapshot, const SPdfOptions& pdf);
    const char* pszReportHelp; // "the text report"
    const char* pszDataHelp;   // in the commands; nullptr where they never write it
};

std::span<const SOutputFormat> OutputFormats();
const SOutputFormat& OutputFormatInfo(EOutputFormat eFormat);

// The format of a path by its extension in any case; nothing for an
// extension of no format.
std::optional<EOutputFormat> FormatOfExtension(std::string_view strExtension);

// The report formats' help: "  .txt   the text report\n" a line each.
std::string ReportFormatsHelp();
// The help of the formats a command writes, in the table's order.
std::string DataFormatsHelp(std::initializer_list<EOutputFormat> formats);
// ".txt, .json, .csv"
std::string ExtensionList(std::initializer_list<EOutputFormat> formats);
