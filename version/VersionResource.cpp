#include "version/VersionResource.h"
#include "version/Utf.h"

// The build defines WIN32_LEAN_AND_MEAN and NOMINMAX.
#include <windows.h>

#include <stdexcept>
#include <string>

bool ReadVersionResource(const char* pszPath, std::vector<std::uint8_t>& abBlock)
{
    std::wstring strPath;
    try
    {
        const std::u16string strUnits = utf::Utf8ToUtf16(pszPath);
        strPath.assign(strUnits.begin(), strUnits.end());
    }
    catch (const std::invalid_argument&)
    {
        return false;
    }
    DWORD dwHandle = 0;
    const DWORD dwSize = GetFileVersionInfoSizeW(strPath.c_str(), &dwHandle);
    if (dwSize == 0)
        return false;
    abBlock.assign(dwSize, 0);
    return GetFileVersionInfoW(strPath.c_str(), 0, dwSize, abBlock.data()) != 0;
}
