// What compare, portfolio, improve and trend share: the output format chosen
// by a file name, numbers for CSV and for people, aligned text tables and output
// handed on in large chunks.
#pragma once

#include "report/Formats.h"
#include "report/Numbers.h"
#include "report/Snapshot.h"
#include "report/Text.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The format of OUTPUT by its extension in any case, when it is one of
// allowed; nothing otherwise. "" and "-" (standard output) give fallback.
std::optional<EOutputFormat> OutputFormatOf(const std::string& strPath, EOutputFormat fallback,
                                            std::span<const EOutputFormat> allowed);

// The forms of one command's output, each made only when asked for. The
// table of formats chooses the one to write (WriteData); a form the command
// does not write stays empty.
struct SDataWriters
{
    std::function<std::string()> text;
    std::function<std::string()> csv;
    std::function<nlohmann::ordered_json()> json; // written by DumpJson
    std::function<std::string()> svg;
};

// The output in the given format through the table of formats.
std::string WriteData(EOutputFormat format, const SDataWriters& writers);

// FormatShortest(d) appended to strOut without a string of its own: the
// portfolio writes 31 numbers a row.
void AppendCsvNumber(std::string& strOut, double d);

// A question's text on one line (question 5 holds a line feed).
std::string OneLine(std::string str);
// Rows of cells as columns two blanks apart; aligns holds 'l' or 'r' per column.
// The last column is never padded, so no line ends in blanks.
std::string FormatTable(const std::vector<std::vector<std::string>>& rows, std::string_view aligns);
// Width of UTF-8 text in characters.
std::size_t TextWidth(std::string_view str);

// Output collected and handed on in chunks of 64 KiB, so that many rows cost
// few writes. Without a writer the bytes stay in memory (for tests).
class COutput
{
public:
    using Writer = std::function<void(std::string_view)>;

    explicit COutput(Writer fnWrite = nullptr);
    COutput(const COutput&) = delete;
    COutput& operator=(const COutput&) = delete;

    // The buffer to append to; call Appended() afterwards.
    std::string& Buffer() { return m_strBuffer; }
    void Appended()
    {
        if (m_strBuffer.size() >= CHUNK && m_fnWrite)
            Flush();
    }
    // Hands on the rest.
    void Close()
    {
        if (m_fnWrite)
            Flush();
    }
    const std::string& Memory() const { return m_strBuffer; }

private:
    static constexpr std::size_t CHUNK = 64 * 1024;
    void Flush();

    Writer m_fnWrite;
    std::string m_strBuffer;
};
