// The program as a process: without a display it says what helps and exits
// with status 1 instead of aborting.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace
{

TEST(Startup, WithoutADisplayItSaysWhatHelpsAndExits1)
{
    const std::string strCommand = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "
                                   "XDG_SESSION_TYPE=x11 '" VELKOR_PROGRAM "' 2>&1";
    FILE* pOut = ::popen(strCommand.c_str(), "r");
    ASSERT_NE(pOut, nullptr);
    std::string strOutput;
    char szLine[512];
    while (std::fgets(szLine, sizeof szLine, pOut) != nullptr)
        strOutput += szLine;
    const int nStatus = ::pclose(pOut);
    ASSERT_TRUE(WIFEXITED(nStatus)) << "ended by a signal: " << strOutput;
    EXPECT_EQ(WEXITSTATUS(nStatus), 1) << strOutput;
    EXPECT_NE(strOutput.find("velkor: no display"), std::string::npos) << strOutput;
    EXPECT_NE(strOutput.find("xvfb-run"), std::string::npos) << strOutput;
}

} // namespace
