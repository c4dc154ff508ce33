// velkor-report portfolio over many project files against cat reading the
// same files, interleaved in one run so that both see the same machine load
// and the same page cache. With "team" (and FORMAT, default text), velkor-report team
// of the files, named one by one, against cat of the same names.
// Usage: velkor_bench_portfolio VELKOR_REPORT [RUNS] [FILES] [team [FORMAT]]
// Prints "portfolio|median ms|cat median ms|ratio" (or "team_FORMAT|...").
#include "ProcessTiming.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
// nFiles projects of varied answers and weights, 100 to a folder.
bool WriteProjects(const std::string& strDir, int nFiles)
{
    for (int n = 0; n < nFiles; ++n)
    {
        const std::string strFolder = strDir + "/team" + std::to_string(n / 100);
        if (n % 100 == 0 && mkdir(strFolder.c_str(), 0755) != 0)
            return false;
        unsigned char bytes[348] = {};
        for (std::uint32_t i = 0; i < 81; ++i)
            bytes[4 * i] = static_cast<unsigned char>((i * 7 + static_cast<std::uint32_t>(n)) % 5);
        const double ad[3] = {0.2 + n % 7 * 0.01, 0.3, 0.5}; // x86-64 is little-endian
        std::copy_n(reinterpret_cast<const unsigned char*>(ad), sizeof ad, bytes + 324);
        const std::string strPath = strFolder + "/project" + std::to_string(n) + ".vlk";
        const int nFd = open(strPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const bool bOk = nFd >= 0 && write(nFd, bytes, sizeof bytes) == sizeof bytes;
        if (nFd >= 0)
            close(nFd);
        if (!bOk)
            return false;
    }
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        std::fputs("usage: velkor_bench_portfolio VELKOR_REPORT [RUNS] [FILES]\n", stderr);
        return 2;
    }
    const std::string strReport = argv[1];
    const int nRuns = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;
    const int nFiles = argc > 3 ? std::max(1, std::atoi(argv[3])) : 10000;

    char szDir[] = "/tmp/velkor-bench-XXXXXX";
    if (mkdtemp(szDir) == nullptr)
        return 1;
    const std::string strDir = szDir;
    bool bOk = WriteProjects(strDir, nFiles);

    const bool bTeam = argc > 4 && std::string(argv[4]) == "team";
    const std::string strFormat = argc > 5 ? argv[5] : "text";
    std::vector<std::string> portfolio = {strReport, "portfolio", strDir};
    std::vector<std::string> cat = {
        "sh", "-c", "find \"$1\" -name '*.vlk' -exec cat {} + >/dev/null", "sh", strDir};
    if (bTeam)
    {
        portfolio = {strReport, "team", "--format", strFormat};
        cat = {"cat"};
        for (int n = 0; n < nFiles; ++n)
        {
            const std::string strPath = strDir + "/team" + std::to_string(n / 100) + "/project" +
                                        std::to_string(n) + ".vlk";
            portfolio.push_back(strPath);
            cat.push_back(strPath);
        }
    }
    std::vector<double> times, bases;
    RunOnce(portfolio); // warm the page cache
    RunOnce(cat);
    for (int i = 0; bOk && i < nRuns; ++i)
    {
        const double t = RunOnce(portfolio);
        const double b = RunOnce(cat);
        bOk = t >= 0 && b >= 0;
        times.push_back(t);
        bases.push_back(b);
    }
    if (bOk)
    {
        const double dTime = Median(times), dBase = Median(bases);
        std::printf("%s|%.2f|%.2f|%.3f\n", bTeam ? ("team_" + strFormat).c_str() : "portfolio",
                    dTime, dBase, dTime / dBase);
    }
    else
        std::fputs("velkor_bench_portfolio: a run failed\n", stderr);
    std::error_code error;
    std::filesystem::remove_all(strDir, error);
    return bOk ? 0 : 1;
}
