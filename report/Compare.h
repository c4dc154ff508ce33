// velkor-report compare: what changed between two assessments of a project.
#pragma once

#include "report/CommandOutput.h"

#include <string>

// One side of the comparison: the project as loaded and the path it came from.
struct SCompareSide
{
    SSnapshot snapshot;
    std::string strPath;
};

// The comparison in the given format.
std::string MakeCompareOutput(const SCompareSide& old, const SCompareSide& now,
                              EOutputFormat format);
