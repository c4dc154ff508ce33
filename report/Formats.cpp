#include "report/Formats.h"

#include "files/Path.h"
#include "report/Export.h"
#include "report/HtmlReport.h"
#include "report/TextReport.h"

#include <algorithm>
#include <array>

namespace
{
const std::array<SOutputFormat, 6> s_aFormats = {{
    {EOutputFormat::text, "txt",
     [](const SSnapshot& s, const SPdfOptions&) { return MakeTextReport(s); }, "the text report",
     "text for people, aligned"},
    {EOutputFormat::html, "htm",
     [](const SSnapshot& s, const SPdfOptions&) { return MakeHtmlReport(s); }, "the HTML report",
     nullptr},
    {EOutputFormat::json, "json",
     [](const SSnapshot& s, const SPdfOptions&) { return MakeJsonExport(s); },
     "the project as data", "every value, numbers in their shortest exact form"},
    {EOutputFormat::csv, "csv",
     [](const SSnapshot& s, const SPdfOptions&) { return MakeCsvExport(s); },
     "the 28 probabilities", "a table of the values, numbers as in JSON"},
    {EOutputFormat::svg, "svg",
     [](const SSnapshot& s, const SPdfOptions&) { return MakeSvgChart(s); }, "the chart",
     "a line chart"},
    {EOutputFormat::pdf, "pdf",
     [](const SSnapshot& s, const SPdfOptions& pdf) { return MakePdfReport(s, pdf); },
     "the printable A4 report", nullptr},
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

std::string ReportFormatsHelp()
{
    std::string strHelp;
    for (const SOutputFormat& format : s_aFormats)
        strHelp += HelpLine(format, format.pszReportHelp);
    return strHelp;
}

std::string DataFormatsHelp(std::initializer_list<EOutputFormat> formats)
{
    std::string strHelp;
    for (const EOutputFormat eFormat : formats)
    {
        const SOutputFormat& format = OutputFormatInfo(eFormat);
        strHelp += HelpLine(format, format.pszDataHelp ? format.pszDataHelp : format.pszReportHelp);
    }
    return strHelp;
}

std::string ExtensionList(std::initializer_list<EOutputFormat> formats)
{
    std::string strList;
    for (const EOutputFormat eFormat : formats)
        strList +=
            (strList.empty() ? "." : ", .") + std::string(OutputFormatInfo(eFormat).pszExtension);
    return strList;
}
