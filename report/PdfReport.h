// The printable report: one A4 page with the title, the dates, the 28
// probabilities, the three weights and the chart, drawn with libharu. Fonts
// are embedded (Liberation Sans) and the text can be selected and copied.
#pragma once

#include "input/Snapshot.h"

#include <stdexcept>
#include <string>
#include <vector>

// The PDF cannot be made: no font, or the PDF library failed. The message
// says what to do.
class CPdfError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

struct SPdfOptions
{
    std::string strMade;                  // when the report was made, as shown ("2026-12-09 14:05")
    std::string strModified;              // the project file's modification time, as shown
    std::vector<std::string> fontFolders; // searched in order for LiberationSans-*.ttf
};

// The folders a program at strExecutable looks in for its fonts: fonts/ beside
// it, its own folder, then the system's Liberation folder.
std::vector<std::string> PdfFontFolders(const std::string& strExecutable);

// A time as the report shows it: local time, "YYYY-MM-DD HH:MM".
std::string FormatReportTime(long long nSecondsSinceEpoch);

// The PDF's bytes. Throws CPdfError.
std::string MakePdfReport(const SSnapshot& snapshot, const SPdfOptions& options);
