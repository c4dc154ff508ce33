#include "files/Path.h"

#include <unistd.h>

#include <vector>

std::string GetFileName(const std::string& strPath)
{
    const auto nSlash = strPath.rfind('/');
    return nSlash == std::string::npos ? strPath : strPath.substr(nSlash + 1);
}

std::string GetFolderName(const std::string& strPath)
{
    const auto nSlash = strPath.rfind('/');
    if (nSlash == std::string::npos)
        return ".";
    return nSlash == 0 ? "/" : strPath.substr(0, nSlash);
}

std::string GetFileTitle(const std::string& strPath)
{
    const std::string strName = GetFileName(strPath);
    return strName.substr(0, strName.rfind('.'));
}

std::string GetFileExtension(const std::string& strPath)
{
    const std::string strName = GetFileName(strPath);
    const auto nDot = strName.rfind('.');
    return nDot == std::string::npos ? std::string() : strName.substr(nDot + 1);
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b)
{
    const auto Lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

std::string GetOwnExecutablePath()
{
    // readlink does not say whether it cut the path: grow until it fits.
    std::vector<char> buffer(256);
    while (true)
    {
        const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0)
            return {};
        if (static_cast<std::size_t>(n) < buffer.size())
            return std::string(buffer.data(), static_cast<std::size_t>(n));
        buffer.resize(buffer.size() * 2);
    }
}
