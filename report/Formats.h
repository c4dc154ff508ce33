// The writers of each output format: a project's report, and a command's
// data. The formats themselves, and who writes each, are input/Formats'
// table; a new format is one row there and one writer here.
#pragma once

#include "input/Formats.h"
#include "input/Snapshot.h"
#include "report/PdfReport.h"

#include <string>

struct SDataWriters;

struct SFormatWriters
{
    EOutputFormat eFormat;
    // The project's report in this format.
    std::string (*pfnReport)(const SSnapshot& snapshot, const SPdfOptions& pdf);
    // A command's data in this format; nullptr where no command writes it.
    std::string (*pfnData)(const SDataWriters& writers);
};

const SFormatWriters& FormatWriters(EOutputFormat eFormat);
