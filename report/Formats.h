// The one table of output formats: extension, the writer of a project's
// report and of a command's data in that format, the commands that write it,
// the first bytes that tell a file of it and the help line of each. The
// usage text, the commands' checks and lists, the window's Save As types,
// the file-kind check and the manual's list all come from it: a new format
// is one row here and one writer.
#pragma once

#include "report/PdfReport.h"
#include "report/Snapshot.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

enum class EOutputFormat
{
    text,
    html,
    json,
    csv,
    svg,
    pdf,
};

struct SDataWriters;

// Who writes a format: velkor-report's report of a project, its commands,
// and the window's Save As.
enum ECommand : unsigned
{
    CMD_REPORT = 1u << 0,
    CMD_COMPARE = 1u << 1,
    CMD_PORTFOLIO = 1u << 2,
    CMD_IMPROVE = 1u << 3,
    CMD_TREND = 1u << 4,
    CMD_WINDOW = 1u << 5,
    CMD_TEAM = 1u << 6,
    CMD_SENSITIVITY = 1u << 7,
    CMD_CALIBRATE = 1u << 8,
};

struct SOutputFormat
{
    EOutputFormat eFormat;
    const char* pszExtension; // without the dot, lower case
    // The project's report in this format.
    std::string (*pfnReport)(const SSnapshot& snapshot, const SPdfOptions& pdf);
    const char* pszReportHelp; // "the text report"
    const char* pszDataHelp;   // in the commands; nullptr where they never write it
    const char* pszKind;       // what a file of this format is: "a text report"
    unsigned nCommands;        // ECommand bits: who writes it
    // A command's data in this format; nullptr where no command writes it.
    std::string (*pfnData)(const SDataWriters& writers);
    // What a file of this format begins with, after blanks: up to two prefixes.
    const char* apszStarts[2];
    const char* pszWindowType; // the Save As type ("Text File"); nullptr: not offered
};

std::span<const SOutputFormat> OutputFormats();
const SOutputFormat& OutputFormatInfo(EOutputFormat eFormat);

// The format of a path by its extension in any case; nothing for an
// extension of no format.
std::optional<EOutputFormat> FormatOfExtension(std::string_view strExtension);

// The formats a command writes, in the table's order.
std::vector<EOutputFormat> FormatsOf(ECommand eCommand);

// The format whose first bytes strBytes has (after blanks and a byte-order
// mark); nothing when none matches.
std::optional<EOutputFormat> FormatOfContent(std::string_view strBytes);

// The window's Save As filter: the project and every format it writes,
// "Velkor File (*.vlk)|*.vlk|Text File (*.txt)|*.txt|...||".
std::string WindowSaveAsFilter();

// The report formats' help: "  .txt   the text report\n" a line each.
std::string ReportFormatsHelp();
// The help of the formats a command writes, in the table's order.
std::string DataFormatsHelp(std::span<const EOutputFormat> formats);
// ".txt, .json, .csv"
std::string ExtensionList(std::span<const EOutputFormat> formats);
