// Whole-process timings, each as a ratio to a baseline measured in the same
// run, interleaved so that both see the same machine load:
//   velkor up to its first page   / a bare Qt program showing an empty dialog
//     (VELKOR_FIRST_PAGE: velkor_bench_first_page, the program's windows ending there)
//   velkor-report writing a report / velkor-report --version
// Usage: velkor_bench_startup VELKOR_FIRST_PAGE BARE_DIALOG VELKOR_REPORT [RUNS]
// Prints one line per figure: "name|median ms|baseline median ms|ratio".
#include "ProcessTiming.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace
{
// Interleaves the command and its baseline; false when either fails.
bool Compare(const char* pszName, const std::vector<std::string>& command,
             const std::vector<std::string>& baseline, int nRuns)
{
    std::vector<double> times, bases;
    RunOnce(command); // warm the page cache
    RunOnce(baseline);
    for (int i = 0; i < nRuns; ++i)
    {
        const double t = RunOnce(command);
        const double b = RunOnce(baseline);
        if (t < 0 || b < 0)
        {
            std::fprintf(stderr, "velkor_bench_startup: %s failed\n", pszName);
            return false;
        }
        times.push_back(t);
        bases.push_back(b);
    }
    const double dTime = Median(times), dBase = Median(bases);
    std::printf("%s|%.2f|%.2f|%.3f\n", pszName, dTime, dBase, dTime / dBase);
    return true;
}

// A project with mixed answers: 81 little-endian uint32 indices, then the
// schedule, cost and technical weights.
bool WriteProject(const std::string& strPath)
{
    std::ofstream out(strPath, std::ios::binary);
    for (std::uint32_t i = 0; i < 81; ++i)
    {
        const std::uint32_t n = i == 9 ? 3 : (i * 7 + 3) % 5;
        const unsigned char b[4] = {static_cast<unsigned char>(n), 0, 0, 0};
        out.write(reinterpret_cast<const char*>(b), 4);
    }
    const double ad[3] = {0.2, 0.3, 0.5}; // x86-64 is little-endian
    out.write(reinterpret_cast<const char*>(ad), sizeof ad);
    return static_cast<bool>(out);
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 4)
    {
        std::fputs(
            "usage: velkor_bench_startup VELKOR_FIRST_PAGE BARE_DIALOG VELKOR_REPORT [RUNS]\n",
            stderr);
        return 2;
    }
    const std::string strVelkor = argv[1], strBare = argv[2], strReport = argv[3];
    const int nRuns = argc > 4 ? std::max(1, std::atoi(argv[4])) : 20;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);

    char szDir[] = "/tmp/velkor-bench-XXXXXX";
    if (mkdtemp(szDir) == nullptr)
        return 1;
    const std::string strDir = szDir;
    const std::string strProject = strDir + "/plan.vlk";
    if (!WriteProject(strProject))
        return 1;

    bool bOk = Compare("startup", {strVelkor}, {strBare}, nRuns);
    bOk = Compare("report_txt", {strReport, strProject, strDir + "/plan.txt"},
                  {strReport, "--version"}, nRuns * 5) &&
          bOk;
    bOk = Compare("report_htm", {strReport, strProject, strDir + "/plan.htm"},
                  {strReport, "--version"}, nRuns * 5) &&
          bOk;
    for (const char* pszFile : {"/plan.vlk", "/plan.txt", "/plan.htm"})
        std::remove((strDir + pszFile).c_str());
    rmdir(szDir);
    return bOk ? 0 : 1;
}
