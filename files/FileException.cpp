#include "files/FileException.h"

#include <cerrno>
#include <cstring>
#include <utility>

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

CFileException::CFileException(Cause cause, std::string strFileName, int nOsError)
    : m_cause(cause), m_strFileName(std::move(strFileName)), m_nOsError(nOsError)
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
    case EDQUOT:
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
        return e.GetFileName() + " is " + e.GetFileKind() + ", not " + strExpected + ".";
    if (e.GetCause() == CFileException::generic && e.GetOsError() != 0)
        return e.GetErrorMessage() + " (" + std::strerror(e.GetOsError()) + ")";
    return e.GetErrorMessage();
}
