#include "report/CommandOutput.h"

#include "files/Path.h"
#include "files/ProjectFile.h"
#include "model/Format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace
{
bool IsZeroText(std::string_view str)
{
    return str.find_first_not_of("-0.") == std::string_view::npos;
}
} // namespace

std::optional<EOutputFormat> OutputFormatOf(const std::string& strPath, EOutputFormat fallback)
{
    if (strPath.empty() || strPath == "-")
        return fallback;
    const std::string strExtension = GetFileExtension(strPath);
    if (EqualsIgnoreCase(strExtension, "txt"))
        return EOutputFormat::text;
    if (EqualsIgnoreCase(strExtension, "json"))
        return EOutputFormat::json;
    if (EqualsIgnoreCase(strExtension, "csv"))
        return EOutputFormat::csv;
    return std::nullopt;
}

void AppendCsvNumber(std::string& strOut, double d)
{
    if (!std::isfinite(d) || (d == 0 && std::signbit(d)))
        strOut += FormatShortest(d); // the three words, and -0.0 with its sign
    else
    {
        char sz[32];
        const auto result = std::to_chars(sz, sz + sizeof sz, d);
        strOut.append(sz, result.ptr);
    }
}

std::string OneLine(std::string str)
{
    str.erase(std::remove(str.begin(), str.end(), '\n'), str.end());
    return str;
}

nlohmann::ordered_json JsonWeights(const CRiskModel& model)
{
    nlohmann::ordered_json weights;
    weights["technical"] = JsonNumber(model.GetTechnicalWeight());
    weights["cost"] = JsonNumber(model.GetCostWeight());
    weights["schedule"] = JsonNumber(model.GetScheduleWeight());
    return weights;
}

std::string FormatPoints(double dFraction)
{
    std::string str = FormatFixed(dFraction * 100.0, 1);
    if (IsZeroText(str))
        return "0.0"; // no sign on a change that rounds away
    if (str[0] != '-' && !std::isnan(dFraction))
        str.insert(0, 1, '+');
    return str;
}

std::string FormatPercent(double dFraction)
{
    return FormatFixed(dFraction * 100.0, 1);
}

std::size_t TextWidth(std::string_view str)
{
    return static_cast<std::size_t>(
        std::count_if(str.begin(), str.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

std::string FormatTable(const std::vector<std::vector<std::string>>& rows, std::string_view aligns)
{
    std::vector<std::size_t> widths;
    for (const auto& row : rows)
    {
        widths.resize(std::max(widths.size(), row.size()));
        for (std::size_t i = 0; i < row.size(); ++i)
            widths[i] = std::max(widths[i], TextWidth(row[i]));
    }
    std::string strOut;
    for (const auto& row : rows)
    {
        std::string strLine;
        for (std::size_t i = 0; i < row.size(); ++i)
        {
            const std::size_t nPad = widths[i] - TextWidth(row[i]);
            const bool bRight = i < aligns.size() && aligns[i] == 'r';
            if (i > 0)
                strLine += "  ";
            if (bRight)
                strLine.append(nPad, ' ');
            strLine += row[i];
            if (!bRight && i + 1 < row.size())
                strLine.append(nPad, ' ');
        }
        strLine.erase(strLine.find_last_not_of(' ') + 1);
        strOut += strLine;
        strOut += '\n';
    }
    return strOut;
}

COutput::COutput(Writer fnWrite) : m_fnWrite(std::move(fnWrite))
{
    m_strBuffer.reserve(CHUNK * 2);
}

void COutput::Flush()
{
    m_fnWrite(m_strBuffer);
    m_strBuffer.clear();
}
