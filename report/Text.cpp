#include "report/Text.h"

#include "model/Format.h"

#include <cmath>

namespace
{
constexpr char32_t REPLACEMENT_CHARACTER = 0xFFFD;

void AppendUtf8(std::string& strOut, char32_t ch)
{
    if (ch < 0x80)
        strOut += static_cast<char>(ch);
    else if (ch < 0x800)
    {
        strOut += static_cast<char>(0xC0 | (ch >> 6));
        strOut += static_cast<char>(0x80 | (ch & 0x3F));
    }
    else if (ch < 0x10000)
    {
        strOut += static_cast<char>(0xE0 | (ch >> 12));
        strOut += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        strOut += static_cast<char>(0x80 | (ch & 0x3F));
    }
    else
    {
        strOut += static_cast<char>(0xF0 | (ch >> 18));
        strOut += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
        strOut += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        strOut += static_cast<char>(0x80 | (ch & 0x3F));
    }
}

bool IsZeroText(std::string_view str)
{
    return str.find_first_not_of("-0.") == std::string_view::npos;
}
} // namespace

char32_t DecodeUtf8(std::string_view strText, std::size_t& nPos)
{
    const auto Byte = [&](std::size_t n) { return static_cast<unsigned char>(strText[n]); };
    const unsigned char c = Byte(nPos++);
    if (c < 0x80)
        return c;
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

std::string ValidUtf8(std::string_view strText)
{
    std::string strOut;
    for (std::size_t nPos = 0; nPos < strText.size();)
        AppendUtf8(strOut, DecodeUtf8(strText, nPos));
    return strOut;
}

const char* XmlEntity(char32_t ch)
{
    switch (ch)
    {
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    case '"': return "&quot;";
    case '\'': return "&#39;";
    default: return nullptr;
    }
}

std::string EscapeXml(std::string_view strText)
{
    std::string strOut;
    for (std::size_t nPos = 0; nPos < strText.size();)
    {
        const char32_t ch = DecodeUtf8(strText, nPos);
        if (const char* pszEntity = XmlEntity(ch))
            strOut += pszEntity;
        else
        {
            // Control characters other than tab and line ends, U+FFFE and
            // U+FFFF are no XML characters.
            const bool bControl = ch < 0x20 && ch != '\t' && ch != '\n' && ch != '\r';
            AppendUtf8(strOut, bControl || ch == 0xFFFE || ch == 0xFFFF ? REPLACEMENT_CHARACTER : ch);
        }
    }
    return strOut;
}

std::string FormatPercent(double dFraction, int nWidth)
{
    return FormatFixed(dFraction * 100.0, 1, nWidth);
}

std::string PercentText(double dFraction)
{
    return FormatPercent(dFraction) + '%';
}

std::string FormatPoints(double dFraction)
{
    std::string str = FormatPercent(dFraction);
    if (IsZeroText(str))
        return "0.0"; // no sign on a change that rounds away
    if (str[0] != '-' && !std::isnan(dFraction))
        str.insert(0, 1, '+');
    return str;
}
