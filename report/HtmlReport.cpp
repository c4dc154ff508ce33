#include "report/HtmlReport.h"

#include "files/File.h"
#include "model/Format.h"
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
constexpr char32_t REPLACEMENT_CHARACTER = 0xFFFD;

void Replace(std::string& strText, std::string_view strPlaceholder, const std::string& strValue)
{
    const auto nPos = strText.find(strPlaceholder);
    if (nPos != std::string::npos)
        strText.replace(nPos, strPlaceholder.size(), strValue);
}

std::string Percent(double dFraction)
{
    return FormatNumbers("%5.1f%%", {dFraction * 100.0});
}

// Decodes the UTF-8 sequence at strText[nPos], advancing nPos past it. An
// ill-formed sequence gives U+FFFD for its longest valid beginning (at
// least one byte), as Unicode recommends.
char32_t DecodeUtf8(std::string_view strText, std::size_t& nPos)
{
    const auto Byte = [&](std::size_t n) { return static_cast<unsigned char>(strText[n]); };
    const unsigned char c = Byte(nPos++);
    int nTrail = 0;
    char32_t ch = 0;
    unsigned char cLow = 0x80; // the allowed range of the first trail byte
    unsigned char cHigh = 0xBF;
    if (c >= 0xC2 && c <= 0xDF)
    {
        nTrail = 1;
        ch = c & 0x1F;
    }
    else if (c >= 0xE0 && c <= 0xEF)
    {
        nTrail = 2;
        ch = c & 0x0F;
        if (c == 0xE0)
            cLow = 0xA0; // no overlong forms
        else if (c == 0xED)
            cHigh = 0x9F; // no surrogates
    }
    else if (c >= 0xF0 && c <= 0xF4)
    {
        nTrail = 3;
        ch = c & 0x07;
        if (c == 0xF0)
            cLow = 0x90;
        else if (c == 0xF4)
            cHigh = 0x8F; // nothing above U+10FFFF
    }
    else
        return REPLACEMENT_CHARACTER; // a trail byte or a byte UTF-8 never uses

    for (int i = 0; i < nTrail; ++i)
    {
        if (nPos >= strText.size() || Byte(nPos) < cLow || Byte(nPos) > cHigh)
            return REPLACEMENT_CHARACTER;
        ch = (ch << 6) | (Byte(nPos++) & 0x3F);
        cLow = 0x80;
        cHigh = 0xBF;
    }
    return ch;
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
        switch (c)
        {
        case '&':
            strOut += "&amp;";
            break;
        case '<':
            strOut += "&lt;";
            break;
        case '>':
            strOut += "&gt;";
            break;
        case '"':
            strOut += "&quot;";
            break;
        case '\'':
            strOut += "&#39;";
            break;
        default:
            strOut += c;
        }
    }
    return strOut;
}

void FillReportTemplate(std::string& strText, const CRiskModel& model, const std::string& strTitle)
{
    for (const PlaceholderEntry& entry : g_aReportPlaceholders)
        Replace(strText, entry.pszPlaceholder, Percent(model.GetMetricValue(entry.nMetric)));
    Replace(strText, "&lt;DS__&gt;", Percent(model.GetScheduleWeight()));
    Replace(strText, "&lt;DC__&gt;", Percent(model.GetCostWeight()));
    Replace(strText, "&lt;DT__&gt;", Percent(model.GetTechnicalWeight()));
    // Last, so that nothing inserted is ever searched for placeholders.
    Replace(strText, "&lt;FILENAME&gt;", EscapeHtmlTitle(strTitle));
}

std::string MakeHtmlReport(CRiskModel& model, const std::string& strTitle)
{
    model.ComputeAll();
    std::string strText(GetReportTemplate());
    if (!strText.empty())
        FillReportTemplate(strText, model, strTitle);
    return strText;
}

void WriteHtmlReport(CRiskModel& model, const std::string& strPath, const std::string& strTitle)
{
    const std::string strText = MakeHtmlReport(model, strTitle);
    if (strText.empty())
        return; // no template: nothing is written
    CFile file(strPath, CFile::modeCreateNoSync);
    file.Write(strText.data(), strText.size());
    file.Close();
}
