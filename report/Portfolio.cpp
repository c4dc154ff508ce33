#include "report/Portfolio.h"

#include "files/File.h"
#include "files/FileException.h"
#include "files/FolderWalk.h"
#include "files/Path.h"
#include "files/ProjectFile.h"
#include "report/ProjectLoad.h"
#include "report/Rows.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <memory>
#include <set>
#include <utility>

namespace
{
// The portfolio in one format: the header, a row per project and the end
// (the JSON document ends with every error).
struct SPortfolioForm
{
    EOutputFormat eFormat;
    void (*pfnHeader)(std::string& strOut, std::size_t nPathWidth);
    void (*pfnRow)(std::string& strOut, const std::string& strPath, const SSnapshot& snapshot,
                   bool bFirst, std::size_t nPathWidth);
    void (*pfnEnd)(std::string& strOut, bool bNoRows, const std::vector<SPortfolioError>& errors);
};

void JsonEnd(std::string& strOut, bool bNoRows, const std::vector<SPortfolioError>& errors)
{
    strOut += bNoRows ? "], \"errors\": [" : "\n], \"errors\": [";
    for (std::size_t i = 0; i < errors.size(); ++i)
    {
        strOut += i == 0 ? "\n  " : ",\n  ";
        AppendJsonLine(strOut, {{"path", errors[i].strPath}, {"message", errors[i].strMessage}});
    }
    strOut += errors.empty() ? "]}\n" : "\n]}\n";
}

const SPortfolioForm s_aForms[] = {
    {EOutputFormat::text, AppendTextPortfolioHeader,
     [](std::string& strOut, const std::string& strPath, const SSnapshot& snapshot, bool,
        std::size_t nPathWidth) { AppendTextPortfolioRow(strOut, strPath, snapshot, nPathWidth); },
     [](std::string&, bool, const std::vector<SPortfolioError>&) {}},
    {EOutputFormat::csv, [](std::string& strOut, std::size_t) { AppendCsvPortfolioHeader(strOut); },
     [](std::string& strOut, const std::string& strPath, const SSnapshot& snapshot, bool,
        std::size_t) { AppendCsvPortfolioRow(strOut, strPath, snapshot); },
     [](std::string&, bool, const std::vector<SPortfolioError>&) {}},
    {EOutputFormat::json,
     [](std::string& strOut, std::size_t)
     { strOut += "{\"format\": \"velkor-portfolio\", \"version\": 1, \"projects\": ["; },
     [](std::string& strOut, const std::string& strPath, const SSnapshot& snapshot, bool bFirst,
        std::size_t)
     {
         strOut += bFirst ? "\n  " : ",\n  ";
         AppendJsonLine(strOut, JsonPortfolioRow(strPath, snapshot));
     },
     JsonEnd},
};

const SPortfolioForm& FormOf(EOutputFormat eFormat)
{
    for (const SPortfolioForm& form : s_aForms)
        if (form.eFormat == eFormat)
            return form;
    return s_aForms[0];
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
    const SPortfolioForm& form = FormOf(format);
    std::size_t nPathWidth = 4; // "Path"
    if (format == EOutputFormat::text)
        for (const std::string& strPath : projects)
            nPathWidth = std::max(nPathWidth, TextPortfolioPathWidth(strPath));
    const auto Row = [&](const std::string& strPath, const SSnapshot& snapshot, bool bFirst)
    {
        form.pfnRow(out.Buffer(), strPath, snapshot, bFirst, nPathWidth);
        out.Appended();
    };

    form.pfnHeader(out.Buffer(), nPathWidth);
    out.Appended();
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
        Row(strPath, snapshot, bFirst);
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
        Row(strPath, snapshot, bFirst);
        bFirst = false;
    }

    form.pfnEnd(out.Buffer(), bFirst, errors);
    out.Appended();
}
