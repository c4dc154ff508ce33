#include "files/File.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <random>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
constexpr int MAX_LINK_HOPS = 40; // as the kernel allows

std::string DirName(const std::string& strPath)
{
    const auto nSlash = strPath.rfind('/');
    if (nSlash == std::string::npos)
        return ".";
    return nSlash == 0 ? "/" : strPath.substr(0, nSlash);
}

std::string BaseName(const std::string& strPath)
{
    const auto nSlash = strPath.rfind('/');
    return nSlash == std::string::npos ? strPath : strPath.substr(nSlash + 1);
}

// Names under /proc (and /dev/fd, which leads there) stand for files some
// process already holds open, pipes and terminals included: they are reopened
// and written as they are, never replaced.
bool IsOpenFileAlias(const std::string& strPath)
{
    return strPath.starts_with("/proc/") || strPath.starts_with("/dev/fd/");
}

// Follows symbolic links from strName to the name of the file they lead to,
// which may not exist yet. Returns 0 or an errno value; bAlias is set when
// the chain reaches a name that must be written in place.
int ResolveLinks(const std::string& strName, std::string& strTarget, bool& bAlias)
{
    strTarget = strName;
    bAlias = false;
    for (int nHops = 0;; ++nHops)
    {
        if (IsOpenFileAlias(strTarget))
        {
            bAlias = true;
            return 0;
        }
        struct stat st = {};
        if (lstat(strTarget.c_str(), &st) != 0)
            return errno == ENOENT ? 0 : errno; // a missing file is created
        if (!S_ISLNK(st.st_mode))
            return 0;
        if (nHops == MAX_LINK_HOPS)
            return ELOOP;

        std::vector<char> buffer(static_cast<std::size_t>(std::max<off_t>(st.st_size, 255)) + 1);
        ssize_t nLength = 0;
        for (;;)
        {
            nLength = readlink(strTarget.c_str(), buffer.data(), buffer.size());
            if (nLength < 0)
                return errno;
            if (static_cast<std::size_t>(nLength) < buffer.size())
                break;
            buffer.resize(buffer.size() * 2);
        }
        const std::string strLink(buffer.data(), static_cast<std::size_t>(nLength));
        if (strLink.empty())
            return ENOENT;
        strTarget = strLink.front() == '/' ? strLink : DirName(strTarget) + "/" + strLink;
    }
}

// A name for the temporary file beside strTarget, hidden and unlikely to clash.
std::string TempName(const std::string& strTarget)
{
    static std::mt19937 s_random(static_cast<unsigned>(
        std::random_device{}() ^ static_cast<unsigned>(getpid()) ^
        static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count())));
    static const char s_szChars[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::string strSuffix = ".";
    for (int i = 0; i < 8; ++i)
        strSuffix += s_szChars[s_random() % (sizeof s_szChars - 1)];
    strSuffix += ".tmp";

    std::string strBase = BaseName(strTarget);
    if (strBase.size() + 1 + strSuffix.size() > NAME_MAX)
        strBase = "velkor"; // a long name would not leave room for the suffix
    return DirName(strTarget) + "/." + strBase + strSuffix;
}
} // namespace

CFile::~CFile()
{
    Abort();
}

void CFile::Open(const std::string& strFileName, OpenMode mode)
{
    Abort();
    m_strFileName = strFileName;
    m_bSync = mode != modeCreateNoSync;
    if (mode == modeRead)
        OpenForReading();
    else
        OpenForWriting();
}

void CFile::Fail(CFileException::Cause cause)
{
    Abort();
    throw CFileException(cause, m_strFileName);
}

void CFile::FailErrno(int nErrno, bool bCreating)
{
    Fail(CFileException::CauseFromErrno(nErrno, bCreating));
}

void CFile::Lock(int nFd)
{
    while (flock(nFd, LOCK_EX | LOCK_NB) != 0)
    {
        switch (errno)
        {
        case EINTR:
            continue;
        case EWOULDBLOCK:
            Fail(CFileException::sharingViolation);
        case ENOLCK:
        case EINVAL:
        case EOPNOTSUPP:
        case EBADF:
            return; // a file system without locks: go on unlocked
        default:
            FailErrno(errno);
        }
    }
}

void CFile::OpenForReading()
{
    m_nFd = open(m_strFileName.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (m_nFd < 0)
        FailErrno(errno);
    struct stat st = {};
    if (fstat(m_nFd, &st) != 0)
        FailErrno(errno);
    if (S_ISDIR(st.st_mode))
        FailErrno(EISDIR);
    Lock(m_nFd);
}

void CFile::OpenForWriting()
{
    m_bWriting = true;
    bool bAlias = false;
    if (const int nErrno = ResolveLinks(m_strFileName, m_strTarget, bAlias))
        FailErrno(nErrno, true);

    struct stat st = {};
    const bool bExists = !bAlias && stat(m_strTarget.c_str(), &st) == 0;
    if (bAlias || (bExists && !S_ISREG(st.st_mode)))
    {
        // Written in place. A directory ends here with EISDIR.
        m_nFd = open(bAlias ? m_strFileName.c_str() : m_strTarget.c_str(),
                     O_WRONLY | O_CLOEXEC | O_NOCTTY);
        if (m_nFd < 0)
            FailErrno(errno, true);
        Lock(m_nFd);
        if (fstat(m_nFd, &st) != 0)
            FailErrno(errno);
        if (S_ISREG(st.st_mode) && ftruncate(m_nFd, 0) != 0)
            FailErrno(errno);
        return;
    }

    if (bExists)
    {
        // Opening the old file for writing asks whether we may change it at
        // all, and holds it locked until it is replaced.
        m_nLockFd = open(m_strTarget.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
        if (m_nLockFd < 0)
            FailErrno(errno, true);
        Lock(m_nLockFd);
    }

    for (int nAttempt = 0; m_nFd < 0; ++nAttempt)
    {
        const std::string strTemp = TempName(m_strTarget);
        // 0666 lets the umask and default ACLs decide for a new file.
        m_nFd = open(strTemp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (m_nFd >= 0)
            m_strTemp = strTemp;
        else if (errno != EEXIST || nAttempt == 100)
            FailErrno(errno, true);
    }
    if (bExists)
    {
        // Owner first: changing it may clear set-id bits that fchmod restores.
        // Either may be refused (another user's file, a file system without
        // modes); the content still counts more than its attributes.
        (void)!fchown(m_nFd, st.st_uid, st.st_gid);
        (void)!fchmod(m_nFd, st.st_mode & 07777);
    }
}

std::size_t CFile::Read(void* pBuffer, std::size_t nCount)
{
    if (!IsOpen() || m_bWriting)
        Fail(CFileException::invalidFile);
    auto* pBytes = static_cast<char*>(pBuffer);
    std::size_t nDone = 0;
    while (nDone < nCount)
    {
        const ssize_t nRead =
            read(m_nFd, pBytes + nDone, std::min<std::size_t>(nCount - nDone, SSIZE_MAX));
        if (nRead < 0)
        {
            if (errno == EINTR)
                continue;
            FailErrno(errno);
        }
        if (nRead == 0)
            break;
        nDone += static_cast<std::size_t>(nRead);
    }
    return nDone;
}

void CFile::Write(const void* pBuffer, std::size_t nCount)
{
    if (!IsOpen() || !m_bWriting)
        Fail(CFileException::invalidFile);
    const auto* pBytes = static_cast<const char*>(pBuffer);
    while (nCount > 0)
    {
        const std::size_t nChunk = std::min<std::size_t>(nCount, SSIZE_MAX);
        const ssize_t nWritten = write(m_nFd, pBytes, nChunk);
        if (nWritten < 0)
        {
            if (errno == EINTR)
                continue;
            FailErrno(errno);
        }
        if (static_cast<std::size_t>(nWritten) < nChunk)
            Fail(CFileException::diskFull);
        pBytes += nWritten;
        nCount -= nChunk;
    }
}

void CFile::Close()
{
    if (!IsOpen())
        return;
    if (!m_bWriting)
    {
        Abort(); // nothing of a read can be lost at closing
        return;
    }

    if (!m_bSync)
    {
        // A report: the rename below still replaces the target whole.
    }
    else if (m_strTemp.empty())
    {
        // In place: pipes, terminals and devices cannot be synced.
        if (fsync(m_nFd) != 0 && errno != EINVAL && errno != EROFS && errno != EOPNOTSUPP)
            FailErrno(errno);
    }
    else if (fsync(m_nFd) != 0)
        FailErrno(errno);

    const int nFd = m_nFd;
    m_nFd = -1;
    if (close(nFd) != 0 && errno != EINTR) // Linux closes the descriptor even on EINTR
        FailErrno(errno);

    if (!m_strTemp.empty())
    {
        if (rename(m_strTemp.c_str(), m_strTarget.c_str()) != 0)
            FailErrno(errno);
        m_strTemp.clear();
        // Make the rename itself durable; the file is complete either way.
        const int nDirFd =
            m_bSync ? open(DirName(m_strTarget).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1;
        if (nDirFd >= 0)
        {
            (void)fsync(nDirFd);
            close(nDirFd);
        }
    }
    Release();
}

void CFile::Abort()
{
    if (m_nFd >= 0)
        close(m_nFd);
    if (!m_strTemp.empty())
        unlink(m_strTemp.c_str());
    Release();
}

void CFile::Release()
{
    if (m_nLockFd >= 0)
        close(m_nLockFd);
    m_nFd = -1;
    m_nLockFd = -1;
    m_strTemp.clear();
    m_strTarget.clear();
    m_bWriting = false;
}
