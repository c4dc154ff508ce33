#include "files/FileException.h"
#include "res/Strings.h"
#include "res/resource.h"

#include <cerrno>
#include <cstring>
#include <string_view>
#include <utility>

#ifdef _WIN32
#include "files/Win32.h"
#endif

namespace
{
// strFormat with the texts for %1, %2, ... in place.
std::string Fill(const std::string& strFormat, std::initializer_list<std::string_view> texts)
{
    std::string str;
    for (std::size_t i = 0; i < strFormat.size(); ++i)
    {
        const std::size_t n = i + 1 < strFormat.size() ? std::size_t(strFormat[i + 1] - '1') : 9;
        if (strFormat[i] == '%' && n < texts.size())
        {
            str += texts.begin()[n];
            ++i;
        }
        else
            str += strFormat[i];
    }
    return str;
}
} // namespace

std::string FormatFileText(int nId, std::initializer_list<std::string_view> texts)
{
    return Fill(LoadResString(nId), texts);
}

CFileException::CFileException(Cause cause, std::string strFileName, int nOsError)
    : m_cause(cause), m_strFileName(std::move(strFileName)), m_nOsError(nOsError)
{
    m_strMessage = FormatFileText(IDS_FILE_ERROR_FIRST + static_cast<int>(cause), {m_strFileName});
}

CFileException::Cause CFileException::CauseFromErrno(int nErrno, bool bCreating)
{
    switch (nErrno)
    {
    case ENOENT:
        return bCreating ? badPath : fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL:
        return badPath;
    case EMFILE:
    case ENFILE:
        return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return accessDenied;
    case EBADF:
        return invalidFile;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
    case EFBIG:
        return diskFull;
    case EIO:
        return hardIO;
    case EWOULDBLOCK:
        return sharingViolation;
    case ESPIPE:
        return badSeek;
    default:
        return generic;
    }
}

std::string DescribeFileError(const CFileException& e, const std::string& strExpected)
{
    if (!e.GetFileKind().empty())
        return FormatFileText(IDS_FILE_WRONG_KIND, {e.GetFileName(), e.GetFileKind(), strExpected});
    if (e.GetCause() == CFileException::generic && e.GetOsError() != 0)
        return e.GetErrorMessage() + " (" + std::strerror(e.GetOsError()) + ")";
    return e.GetErrorMessage();
}

#ifdef _WIN32
CFileException::Cause CFileException::CauseFromWin32Error(unsigned long nError, bool bCreating)
{
    switch (nError)
    {
    case ERROR_FILE_NOT_FOUND:
        return bCreating ? badPath : fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_DIRECTORY:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_CANT_RESOLVE_FILENAME:
        return badPath;
    case ERROR_TOO_MANY_OPEN_FILES:
        return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_NETWORK_ACCESS_DENIED:
    case ERROR_CANT_ACCESS_FILE:
    case ERROR_PRIVILEGE_NOT_HELD:
    case ERROR_DELETE_PENDING:
        return accessDenied;
    case ERROR_INVALID_HANDLE:
        return invalidFile;
    case ERROR_CURRENT_DIRECTORY:
        return removeCurrentDir;
    case ERROR_CANNOT_MAKE:
        return directoryFull;
    case ERROR_SEEK:
    case ERROR_NEGATIVE_SEEK:
    case ERROR_SEEK_ON_DEVICE:
        return badSeek;
    case ERROR_NOT_READY:
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_GEN_FAILURE:
    case ERROR_IO_DEVICE:
    case ERROR_SECTOR_NOT_FOUND:
        return hardIO;
    case ERROR_SHARING_VIOLATION:
    case ERROR_UNABLE_TO_REMOVE_REPLACED: // another program has the old file open
        return sharingViolation;
    case ERROR_LOCK_VIOLATION:
        return lockViolation;
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_DISK_FULL:
    case ERROR_FILE_TOO_LARGE:
    case 1295: // ERROR_DISK_QUOTA_EXCEEDED, missing from mingw-w64's headers
        return diskFull;
    case ERROR_HANDLE_EOF:
        return endOfFile;
    default:
        return generic;
    }
}
#endif
