#include "files/FileBackend.h"
#include "files/FileException.h"
#include "files/FolderWalk.h"
#include "files/Path.h"
#include "files/Win32.h"

#include <vector>

namespace
{
void ReportError(const FolderWalkError& onError, const std::string& strPath, unsigned long nError)
{
    onError(strPath,
            CFileException(CFileException::CauseFromWin32Error(nError), strPath).GetErrorMessage());
}

// The separator the folder is written with; '\\' when it has none.
std::string Join(const std::string& strFolder, const std::string& strName)
{
    std::string str = strFolder;
    if (str.empty() || (str.back() != '/' && str.back() != '\\'))
        str +=
            str.find('/') != std::string::npos && str.find('\\') == std::string::npos ? '/' : '\\';
    return str += strName;
}

} // namespace

void ReadFolderForWalk(const std::string& strFolder, const char* pszExtension,
                       const std::function<void(const std::string&)>& onFile,
                       const FolderWalkError& onError, std::vector<std::string>& folders)
{
    std::wstring strPattern = GetApiPath(strFolder);
    if (strPattern.empty())
        return ReportError(onError, strFolder, ERROR_BAD_PATHNAME);
    strPattern += strPattern.back() == L'\\' ? L"*" : L"\\*";
    WIN32_FIND_DATAW data = {};
    const HANDLE hFind = FindFirstFileExW(strPattern.c_str(), FindExInfoBasic, &data,
                                          FindExSearchNameMatch, nullptr, 0);
    if (hFind == INVALID_HANDLE_VALUE)
    {
        if (GetLastError() != ERROR_FILE_NOT_FOUND) // an empty root folder
            ReportError(onError, strFolder, GetLastError());
        return;
    }
    do
    {
        const std::string strName = WideToUtf8(data.cFileName);
        if (strName == "." || strName == "..")
            continue;
        // Linked folders (junctions, symbolic links) are not searched;
        // linked files count as their target.
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                folders.push_back(Join(strFolder, strName));
        }
        else if (EqualsIgnoreCase(GetFileExtension(strName), pszExtension))
            onFile(Join(strFolder, strName));
    } while (FindNextFileW(hFind, &data));
    const DWORD nError = GetLastError();
    FindClose(hFind);
    if (nError != ERROR_NO_MORE_FILES)
        ReportError(onError, strFolder, nError);
}

int IsFolderPath(const std::string& strPath, const FolderWalkError& onError)
{
    const std::wstring strApi = GetApiPath(strPath);
    const DWORD nAttributes =
        strApi.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(strApi.c_str());
    if (nAttributes == INVALID_FILE_ATTRIBUTES)
    {
        ReportError(onError, strPath, strApi.empty() ? ERROR_BAD_PATHNAME : GetLastError());
        return -1;
    }
    return (nAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
