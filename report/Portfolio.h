// velkor-report portfolio: one row per project file, for many projects at once.
//
// Sorted by path, rows are written as each project is read, so memory holds
// the list of paths and one chunk of output, however many projects there
// are; sorted by total, the rows' snapshots wait for the last project.
#pragma once

#include "report/CommandOutput.h"

#include <functional>
#include <string>
#include <vector>

struct SPortfolioError
{
    std::string strPath;
    std::string strMessage; // the file layer's message
};

// The project files that PATHs name: a file as given, a folder searched
// recursively for files whose extension is "vlk" in any case (symbolic links
// to folders are not followed). Sorted by path in byte order, each once. A
// PATH that does not exist and a folder that cannot be read are added to
// errors.
std::vector<std::string> CollectProjects(const std::vector<std::string>& inputs,
                                         std::vector<SPortfolioError>& errors);

enum class EPortfolioSort
{
    path,  // byte order of the paths, each row written as it is read
    total, // the riskiest first: lowest total probability of success
};

// Reads each project (as LoadSnapshot does: a wrong file is an error, a
// warning goes to onWarning) and writes its row to out: CSV (header, then one row per
// project), JSON or an aligned text table. A project that cannot be read is
// added to errors and passed to onError at once; the others are still
// written. The JSON document ends with every error, those already in errors
// included.
void WritePortfolio(const std::vector<std::string>& projects, EOutputFormat format, COutput& out,
                    std::vector<SPortfolioError>& errors,
                    const std::function<void(const SPortfolioError&)>& onError,
                    EPortfolioSort sort = EPortfolioSort::path,
                    const std::function<void(const std::string&)>& onWarning = [](const std::string&) {});
