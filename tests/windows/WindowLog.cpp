// The window log of the test build of velkor.exe (tests/windows/velkor.exe):
// the file VELKOR_WINDOW_LOG names gets one line per event of the windows,
// so that window-test.sh can follow the program it drives from outside.
// The shipped program has no such sink and reads no environment.
#include "platform/win32/Windows.h"

#include <cstdio>

namespace
{
std::FILE* OpenLog()
{
    const wchar_t* pszPath = _wgetenv(L"VELKOR_WINDOW_LOG");
    return pszPath != nullptr && *pszPath != L'\0' ? _wfopen(pszPath, L"ab") : nullptr;
}

void WriteLine(const std::string& strLine)
{
    static std::FILE* s_pLog = OpenLog();
    if (s_pLog == nullptr)
        return;
    std::fputs((strLine + "\n").c_str(), s_pLog);
    std::fflush(s_pLog);
}

const bool s_bInstalled = (AfxSetTraceSink(&WriteLine), true);
} // namespace
