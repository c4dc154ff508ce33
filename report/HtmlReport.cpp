#include "report/HtmlReport.h"

#include "files/File.h"
#include "report/Text.h"
#include "res/ReportTemplate.h"

#include <string_view>

const PlaceholderEntry g_aReportPlaceholders[PLACEHOLDER_COUNT] = {
    {"&lt;PA__&gt;", 0},  {"&lt;PA1_&gt;", 1},  {"&lt;PA2_&gt;", 2},  {"&lt;PA3_&gt;", 3},
    {"&lt;PA4_&gt;", 4},  {"&lt;PA5_&gt;", 5},  {"&lt;PA6_&gt;", 6},  {"&lt;PA7_&gt;", 7},
    {"&lt;PA8_&gt;", 8},  {"&lt;PA9_&gt;", 9},  {"&lt;PA10&gt;", 10}, {"&lt;PA11&gt;", 11},
    {"&lt;PA12&gt;", 12}, {"&lt;PA13&gt;", 13}, {"&lt;PB__&gt;", 14}, {"&lt;PC__&gt;", 15},
    {"&lt;PD__&gt;", 16}, {"&lt;PE__&gt;", 17}, {"&lt;PF__&gt;", 18}, {"&lt;PG__&gt;", 19},
    {"&lt;PH__&gt;", 20}, {"&lt;PI__&gt;", 21}, {"&lt;PJ__&gt;", 22}, {"&lt;PK__&gt;", 23},
    {"&lt;PL__&gt;", 24}, {"&lt;PM__&gt;", 25}, {"&lt;PN__&gt;", 26}, {"&lt;PO__&gt;", 27},
};

namespace
{
void Replace(std::string& strText, std::string_view strPlaceholder, const std::string& strValue)
{
    const auto nPos = strText.find(strPlaceholder);
    if (nPos != std::string::npos)
        strText.replace(nPos, strPlaceholder.size(), strValue);
}

std::string Percent(double dFraction)
{
    return FormatPercent(dFraction, 5) + '%';
}

} // namespace

std::string EscapeHtmlTitle(const std::string& strTitle)
{
    std::string strOut;
    for (std::size_t nPos = 0; nPos < strTitle.size();)
    {
        const char c = strTitle[nPos];
        if (static_cast<unsigned char>(c) >= 0x80)
        {
            strOut +=
                "&#" + std::to_string(static_cast<std::uint32_t>(DecodeUtf8(strTitle, nPos))) + ";";
            continue;
        }
        ++nPos;
        const char* pszEntity = XmlEntity(static_cast<char32_t>(c));
        strOut += pszEntity ? std::string(pszEntity) : std::string(1, c);
    }
    return strOut;
}

void FillReportTemplate(std::string& strText, const SSnapshot& snapshot)
{
    for (const PlaceholderEntry& entry : g_aReportPlaceholders)
        Replace(strText, entry.pszPlaceholder, Percent(snapshot.Metric(entry.nMetric)));
    Replace(strText, "&lt;DS__&gt;", Percent(snapshot.Weights().dSchedule));
    Replace(strText, "&lt;DC__&gt;", Percent(snapshot.Weights().dCost));
    Replace(strText, "&lt;DT__&gt;", Percent(snapshot.Weights().dTechnical));
    // Last, so that nothing inserted is ever searched for placeholders.
    Replace(strText, "&lt;FILENAME&gt;", EscapeHtmlTitle(snapshot.Title()));
}

std::string MakeHtmlReport(const SSnapshot& snapshot)
{
    std::string strText(GetReportTemplate());
    if (!strText.empty())
        FillReportTemplate(strText, snapshot);
    return strText;
}

void WriteHtmlReport(const SSnapshot& snapshot, const std::string& strPath)
{
    const std::string strText = MakeHtmlReport(snapshot);
    if (strText.empty())
        return; // no template: nothing is written
    CFile file(strPath, CFile::modeCreateNoSync);
    file.Write(strText.data(), strText.size());
    file.Close();
}
