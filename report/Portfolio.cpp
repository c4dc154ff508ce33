#include "report/Portfolio.h"

#include "files/File.h"
#include "files/FileException.h"
#include "files/FolderWalk.h"
#include "files/Path.h"
#include "files/ProjectFile.h"
#include "report/ProjectLoad.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <memory>
#include <set>
#include <utility>

namespace
{
// The text table shows the summary; CSV and JSON carry all 28 metrics.
constexpr int s_anTextMetrics[] = {METRIC_TOTAL,    METRIC_TECHNICAL, METRIC_COST,
                                   METRIC_SCHEDULE, METRIC_PROCESS,   METRIC_PRODUCT};
constexpr const char* s_apszTextHeaders[] = {"Total",    "Technical", "Cost",
                                             "Schedule", "Process",   "Product"};

// A JSON string, escaped by the JSON library (bytes that are not UTF-8 become
// U+FFFD).
void AppendJsonString(std::string& strOut, const std::string& str)
{
    strOut += nlohmann::ordered_json(str).dump(-1, ' ', false,
                                               nlohmann::ordered_json::error_handler_t::replace);
}

// A JSON number as DumpJson writes it; the three words as strings.
void AppendJsonNumber(std::string& strOut, double d)
{
    const bool bWord = !std::isfinite(d);
    if (bWord)
        strOut += '"';
    AppendCsvNumber(strOut, d);
    if (bWord)
        strOut += '"';
}

void WriteHeader(EOutputFormat format, COutput& out, std::size_t nPathWidth)
{
    std::string& str = out.Buffer();
    if (format == EOutputFormat::csv)
    {
        str += "path,title,technical_weight,cost_weight,schedule_weight";
        for (int k = 0; k < METRIC_COUNT; ++k)
        {
            str += ',';
            str += CsvField(MetricLabel(k));
        }
        str += '\n';
    }
    else if (format == EOutputFormat::json)
        str += "{\"format\": \"velkor-portfolio\", \"version\": 1, \"projects\": [";
    else
    {
        str += "Path";
        str.append(nPathWidth - 4, ' ');
        for (const char* psz : s_apszTextHeaders)
        {
            const std::size_t nLength = std::strlen(psz);
            str.append(nLength < 5 ? 7 - nLength : 2, ' ');
            str += psz;
        }
        str += '\n';
    }
    out.Appended();
}

void WriteRow(EOutputFormat format, COutput& out, const std::string& strPath,
              const SSnapshot& snapshot, bool bFirst, std::size_t nPathWidth)
{
    std::string& str = out.Buffer();
    if (format == EOutputFormat::csv)
    {
        str += CsvField(strPath);
        str += ',';
        str += CsvField(GetFileTitle(strPath));
        for (const double d :
             {snapshot.weights.dTechnical, snapshot.weights.dCost, snapshot.weights.dSchedule})
        {
            str += ',';
            AppendCsvNumber(str, d);
        }
        for (int k = 0; k < METRIC_COUNT; ++k)
        {
            str += ',';
            AppendCsvNumber(str, snapshot.Metric(k));
        }
        str += '\n';
    }
    else if (format == EOutputFormat::json)
    {
        str += bFirst ? "\n  {\"path\": " : ",\n  {\"path\": ";
        AppendJsonString(str, strPath);
        str += ", \"title\": ";
        AppendJsonString(str, GetFileTitle(strPath));
        str += ", \"weights\": {\"technical\": ";
        AppendJsonNumber(str, snapshot.weights.dTechnical);
        str += ", \"cost\": ";
        AppendJsonNumber(str, snapshot.weights.dCost);
        str += ", \"schedule\": ";
        AppendJsonNumber(str, snapshot.weights.dSchedule);
        str += "}, \"metrics\": [";
        for (int k = 0; k < METRIC_COUNT; ++k)
        {
            if (k > 0)
                str += ", ";
            AppendJsonNumber(str, snapshot.Metric(k));
        }
        str += "]}";
    }
    else
    {
        const std::string strShown = EscapeForDisplay(strPath);
        str += strShown;
        str.append(nPathWidth - TextWidth(strShown), ' ');
        for (std::size_t i = 0; i < std::size(s_anTextMetrics); ++i)
        {
            const std::string strValue = FormatPercent(snapshot.Metric(s_anTextMetrics[i]));
            const std::size_t nWidth = std::max<std::size_t>(std::strlen(s_apszTextHeaders[i]), 5);
            str.append(2 + (strValue.size() < nWidth ? nWidth - strValue.size() : 0), ' ');
            str += strValue;
        }
        str += '\n';
    }
    out.Appended();
}
} // namespace

std::vector<std::string> CollectProjects(const std::vector<std::string>& inputs,
                                         std::vector<SPortfolioError>& errors)
{
    std::vector<std::string> projects;
    const auto onError = [&](const std::string& strPath, const std::string& strMessage) {
        errors.push_back({strPath, strMessage});
    };
    const auto onProject = [&](const std::string& strPath) { projects.push_back(strPath); };
    for (const std::string& strInput : inputs)
    {
        const int nFolder = IsFolderPath(strInput, onError);
        if (nFolder > 0)
            WalkFolder(strInput, "vlk", onProject, onError);
        else if (nFolder == 0)
            projects.push_back(strInput);
    }
    std::sort(projects.begin(), projects.end());
    projects.erase(std::unique(projects.begin(), projects.end()), projects.end());
    // One file once, however it was spelt ("t/a", "./t/a", "t//a", a link):
    // the first name in byte order stays.
    std::set<FileId> seen;
    std::erase_if(projects,
                  [&](const std::string& strPath)
                  {
                      const auto id = GetFileId(strPath);
                      return id && !seen.insert(*id).second;
                  });
    return projects;
}

void WritePortfolio(const std::vector<std::string>& projects, EOutputFormat format, COutput& out,
                    std::vector<SPortfolioError>& errors,
                    const std::function<void(const SPortfolioError&)>& onError, EPortfolioSort sort,
                    const std::function<void(const std::string&)>& onWarning)
{
    std::size_t nPathWidth = 4; // "Path"
    if (format == EOutputFormat::text)
        for (const std::string& strPath : projects)
            nPathWidth = std::max(nPathWidth, TextWidth(EscapeForDisplay(strPath)));

    WriteHeader(format, out, nPathWidth);
    bool bFirst = true;
    // Sorted by total, the rows wait for the last project; by path, each is
    // written as it is read.
    std::vector<std::pair<std::string, SSnapshot>> held;
    for (const std::string& strPath : projects)
    {
        SSnapshot snapshot;
        try
        {
            snapshot = LoadSnapshot(strPath, onWarning);
        }
        catch (const CFileException& e)
        {
            errors.push_back({strPath, DescribeFileError(e)});
            onError(errors.back());
            continue;
        }
        catch (const CWrongFileError& e)
        {
            errors.push_back({strPath, e.what()});
            onError(errors.back());
            continue;
        }
        if (sort == EPortfolioSort::total)
        {
            held.emplace_back(strPath, std::move(snapshot));
            continue;
        }
        WriteRow(format, out, strPath, snapshot, bFirst, nPathWidth);
        bFirst = false;
    }
    // The riskiest first: the lowest probability of success; NaN last.
    std::stable_sort(held.begin(), held.end(),
                     [](const auto& a, const auto& b)
                     {
                         const double x = a.second.Metric(METRIC_TOTAL),
                                      y = b.second.Metric(METRIC_TOTAL);
                         return std::isnan(y) ? !std::isnan(x) : x < y;
                     });
    for (const auto& [strPath, snapshot] : held)
    {
        WriteRow(format, out, strPath, snapshot, bFirst, nPathWidth);
        bFirst = false;
    }

    if (format == EOutputFormat::json)
    {
        std::string& str = out.Buffer();
        str += bFirst ? "], \"errors\": [" : "\n], \"errors\": [";
        for (std::size_t i = 0; i < errors.size(); ++i)
        {
            str += i == 0 ? "\n  {\"path\": " : ",\n  {\"path\": ";
            AppendJsonString(str, errors[i].strPath);
            str += ", \"message\": ";
            AppendJsonString(str, errors[i].strMessage);
            str += '}';
        }
        str += errors.empty() ? "]}\n" : "\n]}\n";
        out.Appended();
    }
}
