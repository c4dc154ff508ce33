// What compare, portfolio and improve share: the output format chosen by a
// file name, machine-readable numbers, aligned text tables and an output that
// is written in large chunks.
#pragma once

#include "files/File.h"
#include "model/RiskModel.h"
#include "tools/report/Numbers.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class EOutputFormat
{
    text,
    json,
    csv,
};

// The format of OUTPUT by its extension in any case (.txt, .json, .csv);
// nothing for any other extension. "-" is standard output in fallback.
std::optional<EOutputFormat> OutputFormatOf(const std::string& strPath, EOutputFormat fallback);

// FormatShortest(d) appended to strOut without a string of its own: the
// portfolio writes 31 numbers a row.
void AppendCsvNumber(std::string& strOut, double d);

// A question's text on one line (question 5 holds a line feed).
std::string OneLine(std::string str);
// {"technical", "cost", "schedule"} of the model.
nlohmann::ordered_json JsonWeights(const CRiskModel& model);

// A fraction as percentage points with one decimal and a sign: "+4.2",
// "-0.3", "0.0".
std::string FormatPoints(double dFraction);
// A fraction as a percentage with one decimal, no % sign: "31.2".
std::string FormatPercent(double dFraction);

// Rows of cells as columns two blanks apart. cAlign per column: 'l' or 'r'.
// The last column is never padded, so no line ends in blanks.
std::string FormatTable(const std::vector<std::vector<std::string>>& rows, std::string_view aligns);
// Width of UTF-8 text in characters.
std::size_t TextWidth(std::string_view str);

// The output of a command: standard output, or a file that replaces its
// target only when complete. Bytes are collected and written in chunks.
class COutput
{
public:
    // Empty or "-": standard output. Throws CFileException.
    explicit COutput(const std::string& strPath);
    // Collected in memory only, for tests.
    COutput() = default;
    ~COutput() = default;
    COutput(const COutput&) = delete;
    COutput& operator=(const COutput&) = delete;

    void Append(std::string_view str)
    {
        m_strBuffer.append(str);
        if (m_strBuffer.size() >= CHUNK && m_mode != memory)
            Flush();
    }
    // The buffer to append to directly; call Appended() afterwards.
    std::string& Buffer() { return m_strBuffer; }
    void Appended()
    {
        if (m_strBuffer.size() >= CHUNK && m_mode != memory)
            Flush();
    }
    // Writes the rest and completes the file. Throws CFileException.
    void Close();
    const std::string& Memory() const { return m_strBuffer; }

private:
    static constexpr std::size_t CHUNK = 64 * 1024;
    void Flush();

    enum Mode
    {
        memory,
        standardOutput,
        file,
    };
    Mode m_mode = memory;
    CFile m_file;
    std::string m_strBuffer;
};
