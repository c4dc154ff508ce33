// The text report: 28 lines "<label> = <value>%", one per metric in index
// order, the value times 100 with one decimal, each line ended by CR LF.
#pragma once

#include "input/Snapshot.h"

#include <string>

// The report's bytes.
std::string MakeTextReport(const SSnapshot& snapshot);

// Writes the report to strPath, replacing the file only once it is complete.
// A file that cannot be written throws CFileException, as a project file does.
void WriteTextReport(const SSnapshot& snapshot, const std::string& strPath);
