#include "report/Numbers.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

std::string FormatShortest(double dValue)
{
    if (std::isnan(dValue))
        return "NaN";
    if (std::isinf(dValue))
        return dValue < 0 ? "-Infinity" : "Infinity";
    // "-0" would read back as the integer 0 in JSON; the fraction keeps the sign.
    if (dValue == 0 && std::signbit(dValue))
        return "-0.0";
    char szBuffer[64];
    return std::string(szBuffer, ShortestChars(szBuffer, dValue));
}

char* ShortestChars(char* pszOut, double dValue)
{
#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
    return std::to_chars(pszOut, pszOut + 32, dValue).ptr;
#else
    return ShortestCharsPortable(pszOut, dValue);
#endif
}

namespace
{
// The nPrecision significant digits of dMagnitude that read back as it, the
// closest such: the correctly rounded ones, or where those miss (beside a
// power of two, whose lower neighbour is nearer) one unit further out; false
// when none does.
bool DigitsAt(double dMagnitude, int nPrecision, std::string& strDigits, int& nExponent)
{
    char sz[48];
    std::snprintf(sz, sizeof sz, "%.*e", nPrecision - 1, dMagnitude);
    unsigned long long nMantissa = 0;
    const char* p = sz;
    for (; *p != 'e'; ++p)
        if (*p != '.')
            nMantissa = nMantissa * 10 + static_cast<unsigned>(*p - '0');
    const int nScale = std::atoi(p + 1) - (nPrecision - 1); // the value is mantissa * 10^scale
    for (const unsigned long long nCandidate : {nMantissa, nMantissa + 1, nMantissa - 1})
    {
        std::snprintf(sz, sizeof sz, "%llue%d", nCandidate, nScale);
        if (std::strtod(sz, nullptr) != dMagnitude && nPrecision < 17)
            continue;
        strDigits = std::to_string(nCandidate);
        nExponent = nScale + static_cast<int>(strDigits.size()) - 1;
        while (strDigits.size() > 1 && strDigits.back() == '0')
            strDigits.pop_back();
        return true;
    }
    return false;
}

// The fewest significant digits (1 to 17) that read back as |dValue|, the
// closest such. A precision that reads back makes every larger one read back
// (a zero appended), so the least is found by halving.
void ShortestDigits(double dValue, std::string& strDigits, int& nExponent)
{
    const double dMagnitude = std::fabs(dValue);
    int nLow = 1, nHigh = 17; // 17 always reads back
    while (nLow < nHigh)
    {
        const int nMiddle = (nLow + nHigh) / 2;
        std::string strIgnored;
        int nIgnored = 0;
        if (DigitsAt(dMagnitude, nMiddle, strIgnored, nIgnored))
            nHigh = nMiddle;
        else
            nLow = nMiddle + 1;
    }
    DigitsAt(dMagnitude, nLow, strDigits, nExponent);
}
} // namespace

char* ShortestCharsPortable(char* pszOut, double dValue)
{
    std::string strDigits;
    int nExponent = 0;
    ShortestDigits(dValue, strDigits, nExponent);
    const int nDigits = static_cast<int>(strDigits.size());
    // Fixed or scientific, whichever is shorter; fixed on a tie.
    const int nExponentDigits = std::abs(nExponent) >= 100 ? 3 : 2;
    const int nScientific = nDigits + (nDigits > 1 ? 1 : 0) + 2 + nExponentDigits;
    const int nFixed = nExponent >= 0 ? std::max(nDigits, nExponent + 1) + (nDigits > nExponent + 1)
                                      : 1 + 1 - nExponent - 1 + nDigits;
    std::string str = std::signbit(dValue) ? "-" : "";
    if (nFixed > nScientific)
    {
        str += strDigits[0];
        if (nDigits > 1)
            str.append(".").append(strDigits, 1);
        char szExponent[16];
        std::snprintf(szExponent, sizeof szExponent, "e%c%02d", nExponent < 0 ? '-' : '+',
                      std::abs(nExponent));
        str += szExponent;
    }
    else if (nExponent < 0)
        str.append("0.").append(static_cast<std::size_t>(-nExponent - 1), '0').append(strDigits);
    else if (nDigits > nExponent + 1)
        str.append(strDigits, 0, static_cast<std::size_t>(nExponent + 1))
            .append(".")
            .append(strDigits, static_cast<std::size_t>(nExponent + 1));
    else
    {
        // An integer: to_chars writes its exact value, which has as many digits.
        char sz[32];
        std::snprintf(sz, sizeof sz, "%.0f", std::fabs(dValue));
        str += sz;
    }
    return std::copy(str.begin(), str.end(), pszOut);
}

nlohmann::ordered_json JsonNumber(double dValue)
{
    if (std::isfinite(dValue))
        return dValue;
    return FormatShortest(dValue);
}

namespace
{
bool IsFlat(const nlohmann::ordered_json& value)
{
    for (const auto& item : value)
        if (item.is_structured())
            return false;
    return true;
}

void AppendJson(std::string& strOut, const nlohmann::ordered_json& value, int nIndent,
                bool bOneLine)
{
    if (value.is_number_float())
    {
        strOut += FormatShortest(value.get<double>());
        return;
    }
    if (!value.is_structured() || value.empty())
    {
        strOut += value.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
        return;
    }
    const bool bObject = value.is_object();
    const bool bFlat = bOneLine || IsFlat(value);
    // Appended, not prefixed: GCC 12 at -O3 takes a prefix for an overlapping copy.
    const std::size_t nInner = static_cast<std::size_t>(nIndent) + 2;
    const std::string strInner = bFlat ? " " : std::string("\n").append(nInner, ' ');
    strOut += bObject ? '{' : '[';
    bool bFirst = true;
    for (auto it = value.begin(); it != value.end(); ++it)
    {
        if (!bFirst)
            strOut += ',';
        strOut += bFlat && bFirst ? "" : strInner;
        bFirst = false;
        if (bObject)
            strOut += nlohmann::ordered_json(it.key()).dump() + ": ";
        AppendJson(strOut, *it, nIndent + 2, bOneLine);
    }
    if (!bFlat)
        strOut.append("\n").append(static_cast<std::size_t>(nIndent), ' ');
    strOut += bObject ? '}' : ']';
}
} // namespace

std::string DumpJson(const nlohmann::ordered_json& document)
{
    std::string strOut;
    AppendJson(strOut, document, 0, false);
    return strOut + '\n';
}

void AppendJsonLine(std::string& strOut, const nlohmann::ordered_json& value)
{
    AppendJson(strOut, value, 0, true);
}

std::optional<double> ParseJsonNumber(const nlohmann::json& value)
{
    if (value.is_number())
        return value.get<double>();
    if (!value.is_string())
        return std::nullopt;
    const auto& str = value.get_ref<const std::string&>();
    if (str == "NaN")
        return std::numeric_limits<double>::quiet_NaN();
    if (str == "Infinity")
        return std::numeric_limits<double>::infinity();
    if (str == "-Infinity")
        return -std::numeric_limits<double>::infinity();
    return std::nullopt;
}

std::string CsvField(std::string_view strField)
{
    if (strField.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(strField);
    std::string strQuoted = "\"";
    for (const char c : strField)
    {
        if (c == '"')
            strQuoted += '"';
        strQuoted += c;
    }
    return strQuoted + '"';
}
