#include "files/Path.h"

#ifndef _WIN32
#include <unistd.h>
#endif

#include <algorithm>
#include <vector>

namespace
{
#ifdef _WIN32
constexpr const char* SEPARATORS = "/\\";
#else
constexpr const char* SEPARATORS = "/";
#endif
} // namespace

std::string GetFileName(const std::string& strPath)
{
    const auto nSlash = strPath.find_last_of(SEPARATORS);
    return nSlash == std::string::npos ? strPath : strPath.substr(nSlash + 1);
}

std::string GetFolderName(const std::string& strPath)
{
    const auto nSlash = strPath.find_last_of(SEPARATORS);
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

std::vector<std::pair<std::string, std::string>> ParseFileFilter(const std::string& strFilter)
{
    std::vector<std::string> parts;
    for (std::string::size_type nStart = 0; nStart < strFilter.size();)
    {
        const auto nBar = std::min(strFilter.find('|', nStart), strFilter.size());
        parts.push_back(strFilter.substr(nStart, nBar - nStart));
        nStart = nBar + 1;
    }
    std::vector<std::pair<std::string, std::string>> pairs;
    for (std::size_t i = 0; i + 1 < parts.size() && !parts[i].empty(); i += 2)
        pairs.emplace_back(parts[i], parts[i + 1]);
    return pairs;
}

std::string CompleteFileName(const std::string& strPath, const std::string& strFilter, int nType,
                             const std::string& strDefExt)
{
    const auto StripPrefix = [](const std::string& strExt)
    { return strExt.substr(std::min(strExt.find_first_not_of("*."), strExt.size())); };
    const std::string strName = GetFileName(strPath);
    if (strName.empty() || strName.find('.') != std::string::npos)
        return strPath;
    std::string strExt = StripPrefix(strDefExt);
    const auto filters = ParseFileFilter(strFilter);
    if (nType >= 1 && nType <= static_cast<int>(filters.size()))
    {
        // The first pattern of the selected type, when it names one extension.
        const std::string& strPatterns = filters[nType - 1].second;
        const std::string strPattern = strPatterns.substr(0, strPatterns.find(';'));
        const std::string strTypeExt = StripPrefix(strPattern);
        if (strPattern.starts_with("*.") && !strTypeExt.empty() &&
            strTypeExt.find_first_of("*?") == std::string::npos)
            strExt = strTypeExt;
    }
    return strExt.empty() ? strPath : strPath + "." + strExt;
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

#ifndef _WIN32 // PathWin32.cpp has the Windows one
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
#endif
