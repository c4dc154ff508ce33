#include "report/Formats.h"

#include "report/CommandOutput.h"
#include "report/Export.h"
#include "report/HtmlReport.h"
#include "report/TextReport.h"

#include <array>

namespace
{
std::string Text(const SDataWriters& w)
{
    return w.text();
}
std::string Csv(const SDataWriters& w)
{
    return w.csv();
}
std::string Json(const SDataWriters& w)
{
    return DumpJson(w.json());
}
std::string Svg(const SDataWriters& w)
{
    return w.svg();
}

// In the order of the table of formats.
const std::array<SFormatWriters, 6> s_aWriters = {{
    {EOutputFormat::text, [](const SSnapshot& s, const SPdfOptions&) { return MakeTextReport(s); },
     Text},
    {EOutputFormat::html, [](const SSnapshot& s, const SPdfOptions&) { return MakeHtmlReport(s); },
     nullptr},
    {EOutputFormat::json, [](const SSnapshot& s, const SPdfOptions&) { return MakeJsonExport(s); },
     Json},
    {EOutputFormat::csv, [](const SSnapshot& s, const SPdfOptions&) { return MakeCsvExport(s); },
     Csv},
    {EOutputFormat::svg, [](const SSnapshot& s, const SPdfOptions&) { return MakeSvgChart(s); },
     Svg},
    {EOutputFormat::pdf,
     [](const SSnapshot& s, const SPdfOptions& pdf) { return MakePdfReport(s, pdf); }, nullptr},
}};
} // namespace

const SFormatWriters& FormatWriters(EOutputFormat eFormat)
{
    const SFormatWriters& writers = s_aWriters.at(static_cast<std::size_t>(eFormat));
    return writers.eFormat == eFormat ? writers : throw std::logic_error("formats out of order");
}
