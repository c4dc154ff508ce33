#include "files/FileBackend.h"
#include "files/FileException.h"
#include "files/FolderWalk.h"
#include "files/Path.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>

namespace
{
void ReportErrno(const FolderWalkError& onError, const std::string& strPath, int nErrno)
{
    onError(strPath, DescribeFileError(
                         CFileException(CFileException::CauseFromErrno(nErrno), strPath, nErrno)));
}

std::string Join(const std::string& strFolder, const char* pszName)
{
    std::string str = strFolder;
    if (str.empty() || str.back() != '/')
        str += '/';
    return str += pszName;
}

} // namespace

void ReadFolderForWalk(const std::string& strFolder, const char* pszExtension,
                       const std::function<void(const std::string&)>& onFile,
                       const FolderWalkError& onError, std::vector<std::string>& folders)
{
    const std::unique_ptr<DIR, int (*)(DIR*)> pDir(opendir(strFolder.c_str()), closedir);
    if (!pDir)
        return ReportErrno(onError, strFolder, errno);
    for (;;)
    {
        errno = 0;
        const dirent* pEntry = readdir(pDir.get());
        if (pEntry == nullptr)
        {
            if (errno != 0)
                ReportErrno(onError, strFolder, errno);
            return;
        }
        const char* pszName = pEntry->d_name;
        if (std::strcmp(pszName, ".") == 0 || std::strcmp(pszName, "..") == 0)
            continue;
        const bool bMatch = EqualsIgnoreCase(GetFileExtension(pszName), pszExtension);
        unsigned char type = pEntry->d_type;
        if (type != DT_DIR && type != DT_UNKNOWN && type != DT_LNK && !bMatch)
            continue;
        std::string strPath = Join(strFolder, pszName);
        if (type == DT_UNKNOWN || type == DT_LNK)
        {
            // Links count as the file they lead to; folders only when they
            // are no link.
            struct stat st = {};
            if (stat(strPath.c_str(), &st) != 0)
            {
                if (type == DT_UNKNOWN || bMatch)
                    ReportErrno(onError, strPath, errno);
                continue;
            }
            if (S_ISDIR(st.st_mode) && type == DT_LNK)
                continue;
            type = S_ISDIR(st.st_mode) ? DT_DIR : DT_REG;
        }
        if (type == DT_DIR)
            folders.push_back(std::move(strPath));
        else if (bMatch)
            onFile(strPath);
    }
}

int IsFolderPath(const std::string& strPath, const FolderWalkError& onError)
{
    struct stat st = {};
    if (stat(strPath.c_str(), &st) != 0)
    {
        ReportErrno(onError, strPath, errno);
        return -1;
    }
    return S_ISDIR(st.st_mode);
}
