// The program as a process: without a display it says what helps and exits
// with status 1 instead of aborting; --help and --version answer on standard
// output without a window.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <utility>

namespace
{
// Runs the program without a display: standard output (and standard error
// too when asked) and the exit status, -1 when a signal ended it.
std::pair<std::string, int> RunWithoutDisplay(const std::string& strArgs, bool bStdErr)
{
    const std::string strCommand = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "
                                   "XDG_SESSION_TYPE=x11 timeout 30 '" VELKOR_PROGRAM "' " +
                                   strArgs + (bStdErr ? " 2>&1" : " 2>/dev/null");
    FILE* pOut = ::popen(strCommand.c_str(), "r");
    if (pOut == nullptr)
        return {"", -1};
    std::string strOutput;
    char szLine[512];
    while (std::fgets(szLine, sizeof szLine, pOut) != nullptr)
        strOutput += szLine;
    const int nStatus = ::pclose(pOut);
    return {strOutput, WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1};
}

TEST(Startup, WithoutADisplayItSaysWhatHelpsAndExits1)
{
    const auto [strOutput, nExit] = RunWithoutDisplay("", true);
    EXPECT_EQ(nExit, 1) << strOutput;
    EXPECT_NE(strOutput.find("velkor: no display"), std::string::npos) << strOutput;
    EXPECT_NE(strOutput.find("xvfb-run"), std::string::npos) << strOutput;
}

// Without a display a window would end in "no display" and status 1.
TEST(Startup, HelpAndVersionAnswerWithoutAWindow)
{
    const struct
    {
        const char* pszArgs;
        int nExit;
        const char* pszStart; // of standard output
    } aCases[] = {
        {"--help", 0, "Usage: velkor [QT-OPTION...] [--] [PROJECT.vlk]\n"},
        {"--version", 0, "velkor 1.0.0.1\n"},
        {"plan.vlk --version", 0, "velkor 1.0.0.1\n"},
        {"-- --help", 1, ""}, // after "--" it is the project file's name
        {"-h", 1, ""},        // other switches are ignored, as before
    };
    for (const auto& c : aCases)
    {
        const auto [strOutput, nExit] = RunWithoutDisplay(c.pszArgs, false);
        EXPECT_EQ(nExit, c.nExit) << c.pszArgs;
        EXPECT_EQ(strOutput.substr(0, std::string(c.pszStart).size()), c.pszStart) << c.pszArgs;
        EXPECT_TRUE(c.nExit == 0 || strOutput.empty()) << c.pszArgs << ": " << strOutput;
    }
    EXPECT_NE(RunWithoutDisplay("--help", false).first.find("--version"), std::string::npos);
}
} // namespace
