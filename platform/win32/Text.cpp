// The Win32 backend's window log: one line per event of the windows for the
// sink a test build of the program installs. The program itself installs
// none, so it writes nothing and reads no setting.
#include "platform/win32/Windows.h"

namespace
{
AfxTraceSink s_pfnSink = nullptr;
} // namespace

void AfxSetTraceSink(AfxTraceSink pfnSink)
{
    s_pfnSink = pfnSink;
}

void AfxTrace(const std::string& strLine)
{
    if (s_pfnSink == nullptr)
        return;
    std::string strOut;
    for (char c : strLine)
        strOut += c == '\n' ? std::string("\\n") : std::string(1, c);
    s_pfnSink(strOut);
}
