#include "input/Numbers.h"

#include <nlohmann/json.hpp>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
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
    const auto result = std::to_chars(szBuffer, szBuffer + sizeof szBuffer, dValue);
    return std::string(szBuffer, result.ptr);
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

std::optional<std::string> NanBits(double dValue)
{
    const auto nBits = std::bit_cast<std::uint64_t>(dValue);
    if (!std::isnan(dValue) ||
        nBits == std::bit_cast<std::uint64_t>(std::numeric_limits<double>::quiet_NaN()))
        return std::nullopt;
    char sz[17];
    std::snprintf(sz, sizeof sz, "%016llx", static_cast<unsigned long long>(nBits));
    return std::string(sz);
}

std::optional<double> NanFromBits(std::string_view strBits)
{
    std::uint64_t nBits = 0;
    const auto result = std::from_chars(strBits.data(), strBits.data() + strBits.size(), nBits, 16);
    if (strBits.size() != 16 || result.ptr != strBits.data() + strBits.size() ||
        result.ec != std::errc() || !std::isnan(std::bit_cast<double>(nBits)))
        return std::nullopt;
    return std::bit_cast<double>(nBits);
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
