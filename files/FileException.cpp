#include "files/FileException.h"

#include <cerrno>
#include <utility>

#ifdef _WIN32
#include "files/Win32.h"
#endif

namespace
{
const char* MessageFormat(CFileException::Cause cause)
{
    switch (cause)
    {
    case CFileException::fileNotFound:
        return "%1 was not found.";
    case CFileException::badPath:
        return "%1 contains an invalid path.";
    case CFileException::tooManyOpenFiles:
        return "%1 could not be opened because there are too many open files.";
    case CFileException::accessDenied:
        return "Access to %1 was denied.";
    case CFileException::invalidFile:
        return "An invalid file handle was associated with %1.";
    case CFileException::removeCurrentDir:
        return "%1 could not be removed because it is the current directory.";
    case CFileException::directoryFull:
        return "%1 could not be created because the directory is full.";
    case CFileException::badSeek:
        return "Seek failed on %1";
    case CFileException::hardIO:
        return "A hardware I/O error was reported while accessing %1.";
    case CFileException::sharingViolation:
        return "A sharing violation occurred while accessing %1.";
    case CFileException::lockViolation:
        return "A locking violation occurred while accessing %1.";
    case CFileException::diskFull:
        return "Disk full while accessing %1.";
    case CFileException::endOfFile:
        return "An attempt was made to access %1 past its end.";
    case CFileException::generic:
        break;
    }
    return "An unknown error occurred while accessing %1.";
}
} // namespace

CFileException::CFileException(Cause cause, std::string strFileName)
    : m_cause(cause), m_strFileName(std::move(strFileName))
{
    const std::string strFormat = MessageFormat(cause);
    const auto nPos = strFormat.find("%1");
    m_strMessage = strFormat.substr(0, nPos) + m_strFileName + strFormat.substr(nPos + 2);
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
