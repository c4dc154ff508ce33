// Velkor: software project risk assessment.
#include "platform/WinApp.h"
#include "ui/RiskApp.h"

#include <cstdio>
#include <cstring>

namespace
{
CRiskApp theApp;

const char s_szUsage[] =
    "Usage: velkor [QT-OPTION...] [--] [PROJECT.vlk]\n"
    "Assess the risk of a software project with a questionnaire of 81 questions.\n"
    "\n"
    "  PROJECT.vlk   the project file to open at start-up\n"
    "  --            ends the options: the next argument is the project file\n"
    "  --help        prints this help and exits\n"
    "  --version     prints the version and exits\n"
    "\n"
    "Other arguments that begin with a dash are options of the Qt toolkit\n"
    "(-platform, -display, -style, ...) or are ignored. velkor-report writes\n"
    "reports and exports of project files without a window; see velkor(1).\n";

// --help and --version before "--" answer on standard output without a
// window; true when one of them was given.
bool AnswerInfoOption(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
    {
        if (std::strcmp(argv[i], "--") == 0)
            return false;
        const bool bHelp = std::strcmp(argv[i], "--help") == 0;
        if (!bHelp && std::strcmp(argv[i], "--version") != 0)
            continue;
        std::fputs(bHelp ? s_szUsage : "velkor " VELKOR_VERSION "\n", stdout);
        return true;
    }
    return false;
}
} // namespace

int main(int argc, char** argv)
{
    if (AnswerInfoOption(argc, argv))
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    return theApp.Run(argc, argv);
}
