// Velkor: software project risk assessment.
#include "ui/RiskApp.h"

#include <cstdio>
#include <cstdlib>

namespace
{
CRiskApp theApp;

bool IsSet(const char* pszName)
{
    const char* pszValue = std::getenv(pszName);
    return pszValue != nullptr && *pszValue != '\0';
}
} // namespace

int main(int argc, char** argv)
{
    // Without a display Qt aborts with a long message; say what helps instead.
    if (!IsSet("DISPLAY") && !IsSet("WAYLAND_DISPLAY") && !IsSet("QT_QPA_PLATFORM"))
    {
        std::fprintf(stderr, "velkor: no display; run it under xvfb-run, or with "
                             "QT_QPA_PLATFORM=offscreen\n");
        return 1;
    }
    return theApp.Run(argc, argv);
}
