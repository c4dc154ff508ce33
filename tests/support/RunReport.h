// Runs velkor-report as a process: its exit status and what it printed.
#pragma once

#include "FileTestSupport.h"

#include <fcntl.h>
#include <sys/resource.h>

struct RunResult
{
    int nExit = -1;
    std::string strOut;
    std::string strErr;
};

// Limits of the run (0: none): address space in KiB ("ulimit -v"), open
// files ("ulimit -n").
struct SRunLimits
{
    rlim_t nMemoryKiB = 0;
    rlim_t nFiles = 0;
};

// bAppend: standard output appends to what .stdout already holds (">>").
inline RunResult RunReport(const CScratchDir& dir, std::vector<std::string> args,
                           bool bAppend = false, SRunLimits limits = {})
{
    args.insert(args.begin(), VELKOR_REPORT_EXE);
    const std::string strOut = dir / ".stdout";
    const std::string strErr = dir / ".stderr";
    const pid_t pid = fork();
    if (pid == 0)
    {
        const int nOut =
            open(strOut.c_str(), O_WRONLY | O_CREAT | (bAppend ? O_APPEND : O_TRUNC), 0644);
        const int nErr = open(strErr.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(nOut, STDOUT_FILENO);
        dup2(nErr, STDERR_FILENO);
        close(nOut);
        close(nErr);
        for (const auto& [nResource, nLimit] :
             {std::pair{RLIMIT_AS, limits.nMemoryKiB * 1024}, {RLIMIT_NOFILE, limits.nFiles}})
            if (const rlimit limit = {nLimit, nLimit}; nLimit != 0)
                setrlimit(nResource, &limit);
        std::vector<char*> argv;
        for (auto& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int nStatus = 0;
    waitpid(pid, &nStatus, 0);
    RunResult result;
    result.nExit = WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
    result.strOut = ReadBytes(strOut);
    result.strErr = ReadBytes(strErr);
    std::filesystem::remove(strOut);
    std::filesystem::remove(strErr);
    return result;
}
