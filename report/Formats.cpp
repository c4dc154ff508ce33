#include "report/Formats.h"

#include "files/Path.h"
#include "report/CommandOutput.h"
#include "report/Export.h"
#include "report/HtmlReport.h"
#include "report/TextReport.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace
{
constexpr unsigned DATA = CMD_COMPARE | CMD_PORTFOLIO | CMD_IMPROVE | CMD_TREND | CMD_TEAM |
                          CMD_SENSITIVITY | CMD_CALIBRATE;

const std::array<SOutputFormat, 6> s_aFormats = {{
    {EOutputFormat::text,
     "txt",
     [](const SSnapshot& s, const SPdfOptions&) { return MakeTextReport(s); },
     "the text report",
     "text for people, aligned",
     "a text report",
     CMD_REPORT | DATA | CMD_WINDOW,
     [](const SDataWriters& w) { return w.text(); },
     {},
     "Text File"},
    {EOutputFormat::html,
     "htm",
     [](const SSnapshot& s, const SPdfOptions&) { return MakeHtmlReport(s); },
     "the HTML report",
     nullptr,
     "an HTML report",
     CMD_REPORT | CMD_WINDOW,
     nullptr,
     {"<"},
     "HTML File"},
    {EOutputFormat::json,
     "json",
     [](const SSnapshot& s, const SPdfOptions&) { return MakeJsonExport(s); },
     "the project as data",
     "every value, numbers in their shortest exact form",
     "a JSON export",
     CMD_REPORT | DATA,
     [](const SDataWriters& w) { return DumpJson(w.json()); },
     {"{"},
     nullptr},
    {EOutputFormat::csv,
     "csv",
     [](const SSnapshot& s, const SPdfOptions&) { return MakeCsvExport(s); },
     "the 28 probabilities",
     "a table of the values, numbers as in JSON",
     "a CSV export of the probabilities",
     CMD_REPORT | DATA,
     [](const SDataWriters& w) { return w.csv(); },
     {"index,label"},
     nullptr},
    {EOutputFormat::svg,
     "svg",
     [](const SSnapshot& s, const SPdfOptions&) { return MakeSvgChart(s); },
     "the chart",
     "a chart: the trend's lines, the tornado of swings, the reliability diagram",
     "a chart (SVG)",
     CMD_REPORT | CMD_TREND | CMD_SENSITIVITY | CMD_CALIBRATE,
     [](const SDataWriters& w) { return w.svg(); },
     {"<?xml", "<svg"},
     nullptr},
    {EOutputFormat::pdf,
     "pdf",
     [](const SSnapshot& s, const SPdfOptions& pdf) { return MakePdfReport(s, pdf); },
     "the printable A4 report",
     nullptr,
     "a PDF report",
     CMD_REPORT,
     nullptr,
     {"%PDF"},
     nullptr},
}};

std::string HelpLine(const SOutputFormat& format, const char* pszHelp)
{
    std::string strLine = std::string("  .") + format.pszExtension;
    strLine.append(7 - std::min<std::size_t>(strLine.size() - 2, 5), ' ');
    return strLine + pszHelp + '\n';
}
} // namespace

std::span<const SOutputFormat> OutputFormats()
{
    return s_aFormats;
}

const SOutputFormat& OutputFormatInfo(EOutputFormat eFormat)
{
    return s_aFormats[static_cast<std::size_t>(eFormat)];
}

std::optional<EOutputFormat> FormatOfExtension(std::string_view strExtension)
{
    for (const SOutputFormat& format : s_aFormats)
        if (EqualsIgnoreCase(std::string(strExtension), format.pszExtension))
            return format.eFormat;
    return std::nullopt;
}

std::vector<EOutputFormat> FormatsOf(ECommand eCommand)
{
    std::vector<EOutputFormat> formats;
    for (const SOutputFormat& format : s_aFormats)
        if (format.nCommands & eCommand)
            formats.push_back(format.eFormat);
    return formats;
}

std::optional<EOutputFormat> FormatOfContent(std::string_view strBytes)
{
    const auto nStart = strBytes.find_first_not_of(" \t\r\n\xEF\xBB\xBF");
    const std::string_view str =
        nStart == std::string_view::npos ? std::string_view() : strBytes.substr(nStart);
    // The longest beginning wins: "<?xml" is a chart, "<" alone a page.
    std::optional<EOutputFormat> found;
    std::size_t nFound = 0;
    for (const SOutputFormat& format : s_aFormats)
        for (const char* pszStart : format.apszStarts)
            if (pszStart && str.starts_with(pszStart) && std::strlen(pszStart) > nFound)
            {
                found = format.eFormat;
                nFound = std::strlen(pszStart);
            }
    return found;
}

std::string WindowSaveAsFilter()
{
    std::string strFilter = "Velkor File (*.vlk)|*.vlk|";
    for (const SOutputFormat& format : s_aFormats)
        if (format.nCommands & CMD_WINDOW)
            strFilter += std::string(format.pszWindowType) + " (*." + format.pszExtension + ")|*." +
                         format.pszExtension + '|';
    return strFilter + '|';
}

std::string ReportFormatsHelp()
{
    std::string strHelp;
    for (const SOutputFormat& format : s_aFormats)
        strHelp += HelpLine(format, format.pszReportHelp);
    return strHelp;
}

std::string DataFormatsHelp(std::span<const EOutputFormat> formats)
{
    std::string strHelp;
    for (const EOutputFormat eFormat : formats)
    {
        const SOutputFormat& format = OutputFormatInfo(eFormat);
        strHelp += HelpLine(format, format.pszDataHelp ? format.pszDataHelp : format.pszReportHelp);
    }
    return strHelp;
}

std::string ExtensionList(std::span<const EOutputFormat> formats)
{
    std::string strList;
    for (const EOutputFormat eFormat : formats)
        strList +=
            (strList.empty() ? "." : ", .") + std::string(OutputFormatInfo(eFormat).pszExtension);
    return strList;
}
