#include "report/Calibrate.h"

#include "files/File.h"
#include "files/FileException.h"
#include "files/Path.h"
#include "model/Format.h"
#include "report/Export.h"
#include "res/Strings.h"
#include "res/resource.h"

#include <algorithm>
#include <memory>

namespace
{
constexpr std::pair<const char*, int> s_aColumns[] = {
    {"technical", METRIC_TECHNICAL},
    {"cost", METRIC_COST},
    {"schedule", METRIC_SCHEDULE},
    {"total", METRIC_TOTAL},
};

struct SRecord
{
    std::size_t nLine = 0;
    std::vector<std::string> fields;
};

// RFC 4180 records: quoted fields may hold commas, line ends and doubled
// quotes; a record ends at LF or CR LF. Blank lines are no records.
std::vector<SRecord> SplitRecords(std::string_view str, const std::string& strName)
{
    if (str.substr(0, 3) == "\xEF\xBB\xBF")
        str.remove_prefix(3);
    std::vector<SRecord> records;
    SRecord record{1, {std::string()}};
    std::size_t nLine = 1;
    bool bQuoted = false, bAny = false;
    for (std::size_t i = 0; i < str.size(); ++i)
    {
        const char c = str[i];
        if (bQuoted)
        {
            if (c == '"' && i + 1 < str.size() && str[i + 1] == '"')
                record.fields.back() += '"', ++i;
            else if (c == '"')
                bQuoted = false;
            else
                record.fields.back() += c, nLine += c == '\n' ? 1 : 0;
            continue;
        }
        if (c == '"' && record.fields.back().empty())
            bQuoted = bAny = true;
        else if (c == ',')
            record.fields.emplace_back(), bAny = true;
        else if (c == '\n' || (c == '\r' && i + 1 < str.size() && str[i + 1] == '\n'))
        {
            i += c == '\r' ? 1 : 0;
            if (bAny)
                records.push_back(std::move(record));
            record = SRecord{++nLine, {std::string()}};
            bAny = false;
        }
        else
            record.fields.back() += c, bAny = true;
    }
    if (bQuoted)
        throw CWrongFileError(FormatText(IDS_CALIBRATE_OPEN_QUOTE, {strName}));
    if (bAny)
        records.push_back(std::move(record));
    return records;
}

std::string Where(const std::string& strName, const SOutcomeRow& row)
{
    return FormatText(IDS_CALIBRATE_ROW,
                      {strName, std::to_string(row.nRow), std::to_string(row.nLine)});
}

std::vector<SOutcomeColumn> ParseHeader(const SRecord& header, const std::string& strName,
                                        std::size_t& nFileField)
{
    std::vector<SOutcomeColumn> columns;
    nFileField = header.fields.size();
    for (std::size_t f = 0; f < header.fields.size(); ++f)
    {
        const std::string& strField = header.fields[f];
        const auto it = std::find_if(std::begin(s_aColumns), std::end(s_aColumns),
                                     [&](const auto& column) { return strField == column.first; });
        const bool bSeen = strField == "file"
                               ? nFileField < f
                               : std::any_of(columns.begin(), columns.end(),
                                             [&](const auto& c) { return c.strName == strField; });
        if (bSeen)
            throw CWrongFileError(FormatText(IDS_CALIBRATE_TWICE, {strName, strField}));
        if (strField == "file")
            nFileField = f;
        else if (it == std::end(s_aColumns))
            throw CWrongFileError(FormatText(IDS_CALIBRATE_COLUMN, {strName, strField}));
        else
            columns.push_back({it->first, it->second});
    }
    if (nFileField == header.fields.size())
        throw CWrongFileError(FormatText(IDS_CALIBRATE_NO_FILE, {strName}));
    return columns;
}

// A path from the outcomes file's folder; an absolute one as it is.
std::string FromFolder(const std::string& strFolder, const std::string& strPath)
{
    const bool bAbsolute = strPath.starts_with('/')
#ifdef _WIN32
                           || strPath.starts_with('\\') || (strPath.size() > 1 && strPath[1] == ':')
#endif
        ;
    if (bAbsolute || strFolder.empty() || strFolder == ".")
        return strPath;
    return strFolder + (strFolder.back() == '/' || strFolder.back() == '\\' ? "" : "/") + strPath;
}
} // namespace

SOutcomeTable ParseOutcomes(std::string_view strCsv, const std::string& strName,
                            const std::string& strFolder)
{
    const std::vector<SRecord> records = SplitRecords(strCsv, strName);
    if (records.empty())
        throw CWrongFileError(FormatText(IDS_CALIBRATE_NO_FILE, {strName}));
    SOutcomeTable table;
    std::size_t nFileField = 0;
    table.columns = ParseHeader(records[0], strName, nFileField);
    const std::size_t nFields = records[0].fields.size();
    for (std::size_t r = 1; r < records.size(); ++r)
    {
        SOutcomeRow row;
        row.nRow = r;
        row.nLine = records[r].nLine;
        const std::vector<std::string>& fields = records[r].fields;
        if (fields.size() != nFields)
            throw CWrongFileError(FormatText(
                IDS_CALIBRATE_FIELDS,
                {Where(strName, row), std::to_string(fields.size()), std::to_string(nFields)}));
        if (fields[nFileField].empty())
            throw CWrongFileError(FormatText(IDS_CALIBRATE_NO_PATH, {Where(strName, row)}));
        row.strPath = FromFolder(strFolder, fields[nFileField]);
        std::size_t c = 0;
        for (std::size_t f = 0; f < nFields; ++f)
        {
            if (f == nFileField)
                continue;
            const std::string& strValue = fields[f];
            if (strValue != "" && strValue != "0" && strValue != "1")
                throw CWrongFileError(
                    FormatText(IDS_CALIBRATE_VALUE, {Where(strName, row), table.columns[c].strName,
                                                     EscapeForDisplay(strValue, 40)}));
            row.outcomes.push_back(strValue.empty() ? std::nullopt
                                                    : std::optional<bool>(strValue == "1"));
            ++c;
        }
        table.rows.push_back(std::move(row));
    }
    return table;
}

SOutcomeTable ReadOutcomes(const std::string& strPath)
{
    CFile file(strPath, CFile::modeRead);
    std::string strBytes;
    char buffer[65536];
    while (const std::size_t nRead = file.Read(buffer, sizeof buffer))
        strBytes.append(buffer, nRead);
    file.Close();
    return ParseOutcomes(strBytes, strPath, GetFolderName(strPath));
}

std::vector<SSnapshot> LoadOutcomeProjects(const SOutcomeTable& table, const std::string& strName,
                                           const std::function<void(const std::string&)>& onWarning)
{
    std::vector<SSnapshot> projects;
    for (const SOutcomeRow& row : table.rows)
    {
        try
        {
            projects.push_back(LoadSnapshot(row.strPath, onWarning));
        }
        catch (const CFileException& e)
        {
            throw CWrongFileError(Where(strName, row) + ": " + DescribeFileError(e));
        }
        catch (const CWrongFileError& e)
        {
            throw CWrongFileError(Where(strName, row) + ": " + e.what());
        }
    }
    return projects;
}

std::vector<SCalibration> Calibrate(const SOutcomeTable& table,
                                    const std::vector<SSnapshot>& projects)
{
    std::vector<SCalibration> calibrations;
    for (std::size_t c = 0; c < table.columns.size(); ++c)
    {
        std::vector<double> forecasts;
        std::vector<std::uint8_t> met;
        std::array<std::vector<double>, CATEGORY_COUNT> categories;
        for (std::size_t r = 0; r < table.rows.size() && r < projects.size(); ++r)
        {
            const std::optional<bool>& outcome = table.rows[r].outcomes[c];
            if (!outcome)
                continue;
            forecasts.push_back(projects[r].Metric(table.columns[c].nMetric));
            met.push_back(*outcome);
            for (std::uint32_t j = 0; j < CATEGORY_COUNT; ++j)
                categories[j].push_back(projects[r].Metric(METRIC_CATEGORY_FIRST + int(j)));
        }
        if (forecasts.empty())
            continue;
        // std::vector<bool> packs its bits; spans need real bools.
        const auto abMet = std::make_unique<bool[]>(met.size());
        std::copy(met.begin(), met.end(), abMet.get());
        const std::span<const bool> outcomes(abMet.get(), met.size());
        SCalibration calibration{table.columns[c], CheckForecasts(forecasts, outcomes), {}};
        for (std::uint32_t j = 0; j < CATEGORY_COUNT; ++j)
            calibration.categoryAuc[j] = AreaUnderCurve(categories[j], outcomes);
        calibrations.push_back(std::move(calibration));
    }
    return calibrations;
}

namespace
{
double BinLow(std::size_t b)
{
    return double(b) / RELIABILITY_BINS;
}

double BinHigh(std::size_t b)
{
    return double(b + 1) / RELIABILITY_BINS;
}

nlohmann::ordered_json CalibrationJson(const std::vector<SCalibration>& calibrations)
{
    nlohmann::ordered_json doc;
    doc["format"] = "velkor-calibration";
    doc["version"] = 1;
    doc["outcomes"] = nlohmann::ordered_json::array();
    for (const SCalibration& calibration : calibrations)
    {
        const SForecastCheck& check = calibration.check;
        nlohmann::ordered_json item;
        item["name"] = calibration.column.strName;
        item["metric"] = calibration.column.nMetric;
        item["n"] = check.n;
        item["forecast"] = JsonNumber(check.dForecast);
        item["observed"] = JsonNumber(check.dObserved);
        item["brier"] = JsonNumber(check.dBrier);
        item["reference"] = JsonNumber(check.dReference);
        item["skill"] = JsonOptional(check.skill);
        item["auc"] = JsonOptional(check.auc);
        item["bins"] = nlohmann::ordered_json::array();
        for (std::size_t b = 0; b < RELIABILITY_BINS; ++b)
            item["bins"].push_back({{"low", BinLow(b)},
                                    {"high", BinHigh(b)},
                                    {"count", check.bins[b].nCount},
                                    {"forecast", JsonOptional(check.bins[b].forecast)},
                                    {"observed", JsonOptional(check.bins[b].observed)}});
        item["categories"] = nlohmann::ordered_json::array();
        for (std::uint32_t j = 0; j < CATEGORY_COUNT; ++j)
            item["categories"].push_back({{"index", METRIC_CATEGORY_FIRST + int(j)},
                                          {"label", MetricLabel(METRIC_CATEGORY_FIRST + int(j))},
                                          {"auc", JsonOptional(calibration.categoryAuc[j])}});
        doc["outcomes"].push_back(std::move(item));
    }
    return doc;
}

std::string CalibrationCsv(const std::vector<SCalibration>& calibrations)
{
    std::string strOut = "name,metric,n,forecast,observed,brier,reference,skill,auc";
    for (std::size_t b = 0; b < RELIABILITY_BINS; ++b)
        for (const char* pszField : {"count", "forecast", "observed"})
            strOut += ",bin" + std::to_string(b) + '_' + pszField;
    for (std::uint32_t j = 0; j < CATEGORY_COUNT; ++j)
        strOut += ",auc_" + std::to_string(METRIC_CATEGORY_FIRST + int(j));
    strOut += '\n';
    for (const SCalibration& calibration : calibrations)
    {
        const SForecastCheck& check = calibration.check;
        strOut += calibration.column.strName + ',' + std::to_string(calibration.column.nMetric) +
                  ',' + std::to_string(check.n);
        for (const double d : {check.dForecast, check.dObserved, check.dBrier, check.dReference})
        {
            strOut += ',';
            AppendCsvNumber(strOut, d);
        }
        strOut += ',' + CsvOptional(check.skill) + ',' + CsvOptional(check.auc);
        for (const SReliabilityBin& bin : check.bins)
            strOut += ',' + std::to_string(bin.nCount) + ',' + CsvOptional(bin.forecast) + ',' +
                      CsvOptional(bin.observed);
        for (const auto& auc : calibration.categoryAuc)
            strOut += ',' + CsvOptional(auc);
        strOut += '\n';
    }
    return strOut;
}

std::string OptionalPercent(const std::optional<double>& value)
{
    return value ? PercentText(*value) : "-";
}

std::string CalibrationBlock(const SCalibration& calibration)
{
    const SForecastCheck& check = calibration.check;
    std::string strOut =
        FormatText(IDS_CALIBRATE_HEADING,
                   {calibration.column.strName, MetricLabel(calibration.column.nMetric),
                    std::to_string(check.n), PercentText(check.dForecast),
                    PercentText(check.dObserved)}) +
        '\n' +
        FormatText(IDS_CALIBRATE_SCORES,
                   {FormatFixed(check.dBrier, 3), FormatFixed(check.dReference, 3),
                    TextOptional(check.skill, 3), TextOptional(check.auc, 3)}) +
        "\n\n";
    std::vector<std::vector<std::string>> bins = {
        {LoadResString(IDS_CALIBRATE_BIN), LoadResString(IDS_CALIBRATE_COUNT),
         LoadResString(IDS_CALIBRATE_FORECAST), LoadResString(IDS_CALIBRATE_OBSERVED)}};
    for (std::size_t b = 0; b < RELIABILITY_BINS; ++b)
        if (check.bins[b].nCount > 0)
            bins.push_back({std::to_string(b * 10) + "-" + std::to_string(b * 10 + 10) + "%",
                            std::to_string(check.bins[b].nCount),
                            OptionalPercent(check.bins[b].forecast),
                            OptionalPercent(check.bins[b].observed)});
    strOut += FormatTable(bins, "lrrr") + '\n';
    std::vector<std::vector<std::string>> categories = {
        {LoadResString(IDS_CALIBRATE_CATEGORY), "AUC"}};
    for (std::uint32_t j = 0; j < CATEGORY_COUNT; ++j)
        categories.push_back({MetricName(METRIC_CATEGORY_FIRST + int(j)),
                              TextOptional(calibration.categoryAuc[j], 3)});
    return strOut + FormatTable(categories, "lr");
}
std::string CalibrationText(const std::vector<SCalibration>& calibrations)
{
    if (calibrations.empty())
        return LoadResString(IDS_CALIBRATE_NONE) + '\n';
    std::string strOut;
    for (const SCalibration& calibration : calibrations)
        strOut += (strOut.empty() ? "" : "\n") + CalibrationBlock(calibration);
    return strOut;
}
} // namespace

std::string MakeCalibrationOutput(const std::vector<SCalibration>& calibrations,
                                  EOutputFormat format)
{
    return WriteData(format, {[&] { return CalibrationText(calibrations); },
                              [&] { return CalibrationCsv(calibrations); },
                              [&] { return CalibrationJson(calibrations); },
                              [&] { return WriteSvg(MakeReliabilityChart(calibrations)); }});
}
