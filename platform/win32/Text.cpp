// The Win32 backend's text helpers: UTF-8 and UTF-16, and the window log.
#include "platform/win32/Windows.h"

#include <cstdio>

void AfxTrace(const std::string& strLine)
{
    // VELKOR_WINDOW_LOG names a file that gets one line per event of the
    // windows (shown, caption, control text, command, message box), so that
    // tests that drive the program from outside can follow it.
    static std::FILE* s_pLog = []() -> std::FILE*
    {
        const wchar_t* pszPath = _wgetenv(L"VELKOR_WINDOW_LOG");
        return pszPath != nullptr && *pszPath != L'\0' ? _wfopen(pszPath, L"ab") : nullptr;
    }();
    if (s_pLog == nullptr)
        return;
    std::string strOut;
    for (char c : strLine)
        strOut += c == '\n' ? std::string("\\n") : std::string(1, c);
    std::fputs((strOut + "\n").c_str(), s_pLog);
    std::fflush(s_pLog);
}

std::wstring AfxWide(std::string_view strText)
{
    if (strText.empty())
        return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, strText.data(), static_cast<int>(strText.size()),
                                      nullptr, 0);
    std::wstring str(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, strText.data(), static_cast<int>(strText.size()), str.data(),
                        n);
    return str;
}

std::string AfxNarrow(std::wstring_view strText)
{
    if (strText.empty())
        return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, strText.data(), static_cast<int>(strText.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string str(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, strText.data(), static_cast<int>(strText.size()), str.data(), n,
                        nullptr, nullptr);
    return str;
}
