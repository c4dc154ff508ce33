// velkor-report calibrate: the forecasts of finished projects against how
// they ended. An outcomes file is CSV with a header naming "file" and any of
// "technical", "cost", "schedule" and "total"; each row a project file
// (relative to the outcomes file's folder) and per column 1 (met), 0
// (missed) or nothing (not known).
#pragma once

#include "report/Chart.h"
#include "report/Evidence.h"
#include "report/ProjectLoad.h"
#include "report/Statistics.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct SOutcomeColumn
{
    std::string strName; // "technical", "cost", "schedule" or "total"
    int nMetric = 0;     // its forecast: technical 1, cost 2, schedule 3, total 0
};

struct SOutcomeRow
{
    std::size_t nRow = 0;                      // 1 for the first row after the header
    std::size_t nLine = 0;                     // in the file
    std::string strPath;                       // the project file, as it opens from here
    std::vector<std::optional<bool>> outcomes; // one per column: met, missed or unknown
};

struct SOutcomeTable
{
    std::vector<SOutcomeColumn> columns;
    std::vector<SOutcomeRow> rows;
};

// The outcomes in strCsv (RFC 4180, LF or CR LF line ends), the file
// strName in folder strFolder. A header without "file", another column
// name, a row with the wrong number of fields or a value other than 1, 0 or
// nothing throws CWrongFileError naming strName, the row and the column.
SOutcomeTable ParseOutcomes(std::string_view strCsv, const std::string& strName,
                            const std::string& strFolder);
// The outcomes file strPath through the file layer (CFileException).
SOutcomeTable ReadOutcomes(const std::string& strPath);

// The project of each row, in row order; a missing or wrong file throws
// CWrongFileError naming strName and the row.
std::vector<SSnapshot>
LoadOutcomeProjects(const SOutcomeTable& table, const std::string& strName,
                    const std::function<void(const std::string&)>& onWarning);

struct SCalibration
{
    SOutcomeColumn column;
    SForecastCheck check; // over the rows whose outcome is known
    // The AUC of each category's probability (metrics 4 to 13) against it.
    std::array<std::optional<double>, CATEGORY_COUNT> categoryAuc;
};

// Each column with at least one known outcome, in the header's order.
std::vector<SCalibration> Calibrate(const SOutcomeTable& table,
                                    const std::vector<SSnapshot>& projects);

// The reliability diagram: the diagonal and, per outcome, a point for each
// bin that holds forecasts, sized by their count.
SChart MakeReliabilityChart(const std::vector<SCalibration>& calibrations);

// JSON {"format": "velkor-calibration", ...}, CSV a row per outcome, SVG the
// reliability diagram, or text.
std::string MakeCalibrationOutput(const std::vector<SCalibration>& calibrations,
                                  EOutputFormat format);
