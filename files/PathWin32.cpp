// The Windows parts of the path helpers: reserved names, full paths for the wide API and the
// program's own path.
#include "files/Path.h"
#include "files/Win32.h"

#include <array>
#include <cwctype>

bool IsReservedFileName(const std::string& strPath)
{
    if (strPath.starts_with("\\\\.\\") || strPath.starts_with("//./"))
        return true;
    const std::string strName = GetFileName(strPath);
    if (strName.empty() || strName == "." || strName == "..")
        return false;
    if (strName.back() == '.' || strName.back() == ' ')
        return true;
    // The device names count with any extension and with spaces before it.
    std::string strStem = strName.substr(0, strName.find('.'));
    while (!strStem.empty() && strStem.back() == ' ')
        strStem.pop_back();
    static constexpr std::array<const char*, 6> s_apszDevices = {"CON", "PRN",    "AUX",
                                                                 "NUL", "CONIN$", "CONOUT$"};
    for (const char* pszDevice : s_apszDevices)
        if (EqualsIgnoreCase(strStem, pszDevice))
            return true;
    return strStem.size() == 4 &&
           (EqualsIgnoreCase(strStem.substr(0, 3), "COM") ||
            EqualsIgnoreCase(strStem.substr(0, 3), "LPT")) &&
           strStem[3] >= '1' && strStem[3] <= '9';
}

std::wstring GetApiPath(const std::string& strPath)
{
    if (strPath.empty() || IsReservedFileName(strPath))
        return {};
    const std::wstring strWide = Utf8ToWide(strPath);
    if (strWide.empty() || strWide.find(L'\0') != std::wstring::npos)
        return {};
    if (strWide.starts_with(L"\\\\?\\"))
        return strWide; // already the API's own form
    std::wstring strFull(MAX_PATH, L'\0');
    for (;;)
    {
        const DWORD n = GetFullPathNameW(strWide.c_str(), static_cast<DWORD>(strFull.size()),
                                         strFull.data(), nullptr);
        if (n == 0)
            return {};
        if (n < strFull.size())
        {
            strFull.resize(n);
            break;
        }
        strFull.resize(n);
    }
    // Below MAX_PATH (less room for the name of a temporary file beside it)
    // the plain form works everywhere; above it only the prefixed one.
    if (strFull.size() < MAX_PATH - 30)
        return strFull;
    if (strFull.starts_with(L"\\\\"))
        return L"\\\\?\\UNC\\" + strFull.substr(2);
    return L"\\\\?\\" + strFull;
}

std::string GetOwnExecutablePath()
{
    std::wstring strPath(MAX_PATH, L'\0');
    for (;;)
    {
        const DWORD n =
            GetModuleFileNameW(nullptr, strPath.data(), static_cast<DWORD>(strPath.size()));
        if (n == 0)
            return {};
        if (n < strPath.size())
        {
            strPath.resize(n);
            return WideToUtf8(strPath);
        }
        strPath.resize(strPath.size() * 2);
    }
}
