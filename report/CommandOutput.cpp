#include "report/CommandOutput.h"

#include "files/Path.h"
#include "files/ProjectFile.h"
#include "model/Format.h"

#include <algorithm>
#include <array>
#include <cmath>

std::optional<EOutputFormat> OutputFormatOf(const std::string& strPath, EOutputFormat fallback,
                                            std::span<const EOutputFormat> allowed)
{
    if (strPath.empty() || strPath == "-")
        return fallback;
    const auto format = FormatOfExtension(GetFileExtension(strPath));
    if (format && std::find(allowed.begin(), allowed.end(), *format) != allowed.end())
        return format;
    return std::nullopt;
}

std::string WriteData(EOutputFormat format, const SDataWriters& writers)
{
    const auto pfnData = OutputFormatInfo(format).pfnData;
    return pfnData ? pfnData(writers) : std::string();
}

void AppendCsvNumber(std::string& strOut, double d)
{
    if (!std::isfinite(d) || (d == 0 && std::signbit(d)))
        strOut += FormatShortest(d); // the three words, and -0.0 with its sign
    else
    {
        char sz[32];
        strOut.append(sz, ShortestChars(sz, d));
    }
}

std::string OneLine(std::string str)
{
    str.erase(std::remove(str.begin(), str.end(), '\n'), str.end());
    return str;
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
