// The text report: 28 lines "<label> = <value>%", one per metric in index
// order, the value times 100 with one decimal, each line ended by CR LF.
#pragma once

#include "model/RiskModel.h"

#include <string>

// Recomputes all metrics and returns the report's bytes.
std::string MakeTextReport(CRiskModel& model);

// Recomputes all metrics and writes the report to strPath, replacing the file
// only once it is complete. A file that cannot be written throws
// CFileException, as a project file does. The project and its modified state
// are not touched.
void WriteTextReport(CRiskModel& model, const std::string& strPath);
