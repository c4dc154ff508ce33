#include "files/File.h"
#include "files/Path.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace
{
constexpr int MAX_LINK_HOPS = 40; // as the kernel allows
constexpr int TERMINATING_SIGNALS[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

// The named temporary file that a terminating signal removes: its folder's
// descriptor (-1: none) and its name in that folder.
volatile std::sig_atomic_t g_nCleanupDirFd = -1;
char g_szCleanupName[NAME_MAX + 1];

void SetCleanup(int nDirFd, const std::string& strName)
{
    g_nCleanupDirFd = -1;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    const std::size_t n = std::min(strName.size(), sizeof g_szCleanupName - 1);
    std::memcpy(g_szCleanupName, strName.data(), n);
    g_szCleanupName[n] = '\0';
    std::atomic_signal_fence(std::memory_order_seq_cst);
    g_nCleanupDirFd = nDirFd;
}

void ClearCleanup()
{
    g_nCleanupDirFd = -1;
    std::atomic_signal_fence(std::memory_order_seq_cst);
}

extern "C" void OnTerminatingSignal(int nSignal)
{
    const int nDirFd = g_nCleanupDirFd;
    if (nDirFd >= 0)
        unlinkat(nDirFd, g_szCleanupName, 0);
    std::signal(nSignal, SIG_DFL);
    std::raise(nSignal); // ends the process as the signal asks
}

// Holds off terminating signals while a temporary file has a name, so an
// interrupt between link and rename cannot leave it behind.
class CSignalBlock
{
public:
    CSignalBlock()
    {
        sigset_t set;
        sigemptyset(&set);
        for (const int nSignal : TERMINATING_SIGNALS)
            sigaddset(&set, nSignal);
        pthread_sigmask(SIG_BLOCK, &set, &m_old);
    }
    ~CSignalBlock() { pthread_sigmask(SIG_SETMASK, &m_old, nullptr); }
    CSignalBlock(const CSignalBlock&) = delete;
    CSignalBlock& operator=(const CSignalBlock&) = delete;

private:
    sigset_t m_old;
};

// Names under /proc (and /dev/fd, which leads there) stand for files some
// process already holds open, pipes and terminals included: they are written
// as they are, never replaced.
bool IsOpenFileAlias(const std::string& strPath)
{
    return strPath.starts_with("/proc/") || strPath.starts_with("/dev/fd/");
}

// The descriptor number of /proc/self/fd/N or /dev/fd/N; -1 for other names.
int OwnDescriptor(const std::string& strPath)
{
    for (const char* pszPrefix : {"/proc/self/fd/", "/dev/fd/"})
    {
        const std::string strPrefix = pszPrefix;
        if (!strPath.starts_with(strPrefix) || strPath.size() == strPrefix.size() ||
            strPath.size() > strPrefix.size() + 9)
            continue;
        int n = 0;
        for (std::size_t i = strPrefix.size(); i < strPath.size(); ++i)
        {
            if (strPath[i] < '0' || strPath[i] > '9')
                return -1;
            n = n * 10 + (strPath[i] - '0');
        }
        return n;
    }
    return -1;
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
        strTarget = strLink.front() == '/' ? strLink : GetFolderName(strTarget) + "/" + strLink;
    }
}

// A name for a temporary file beside strBase, hidden and unlikely to clash;
// never longer than a file name may be.
std::string TempName(const std::string& strBase)
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

    std::string strName = strBase;
    if (strName.size() + 1 + strSuffix.size() > NAME_MAX)
        strName = "velkor"; // a long name would not leave room for the suffix
    return "." + strName + strSuffix;
}

// The fixed name under which an unnamed temporary file is linked just before
// it is renamed over strBase.
std::string LinkName(const std::string& strBase)
{
    const std::string strSuffix = ".velkor-tmp";
    if (1 + strBase.size() + strSuffix.size() <= NAME_MAX)
        return "." + strBase + strSuffix;
    char szHash[17];
    std::snprintf(szHash, sizeof szHash, "%016zx", std::hash<std::string>{}(strBase));
    return ".velkor-" + std::string(szHash) + strSuffix;
}

// Failures of fsync that only say the file cannot be synced.
bool IsSyncUnsupported(int nErrno)
{
    return nErrno == EINVAL || nErrno == EROFS || nErrno == EOPNOTSUPP || nErrno == ENOTSUP;
}

// The folder refuses a new file (permissions, a read-only mount).
bool IsCreationRefused(int nErrno)
{
    return nErrno == EACCES || nErrno == EPERM || nErrno == EROFS;
}

// Writes all bytes at the descriptor's position, or at nOffset when it is not
// negative. Returns 0 or an errno value; a write that stops without an error
// counts as a full disk.
int WriteAll(int nFd, const char* pBytes, std::size_t nCount, off_t nOffset = -1)
{
    while (nCount > 0)
    {
        const std::size_t nChunk = std::min<std::size_t>(nCount, SSIZE_MAX);
        const ssize_t nWritten =
            nOffset < 0 ? write(nFd, pBytes, nChunk) : pwrite(nFd, pBytes, nChunk, nOffset);
        if (nWritten < 0)
        {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK)
            {
                // A full non-blocking pipe: wait until its reader made room.
                pollfd pfd = {nFd, POLLOUT, 0};
                if (poll(&pfd, 1, -1) < 0 && errno != EINTR)
                    return errno;
                continue;
            }
            return errno;
        }
        if (nWritten == 0)
            return ENOSPC;
        pBytes += nWritten;
        nCount -= static_cast<std::size_t>(nWritten);
        if (nOffset >= 0)
            nOffset += nWritten;
    }
    return 0;
}

// Reads the whole file from its start; false when it cannot be read.
bool ReadWhole(int nFd, std::string& strBytes)
{
    char buffer[8192];
    for (off_t nOffset = 0;;)
    {
        const ssize_t n = pread(nFd, buffer, sizeof buffer, nOffset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        strBytes.append(buffer, static_cast<std::size_t>(n));
        nOffset += n;
    }
}

// Extended attributes beyond the security label every new file gets anyway.
bool HasExtendedAttributes(int nFd)
{
    std::vector<char> names(1024);
    for (;;)
    {
        const ssize_t n = flistxattr(nFd, names.data(), names.size());
        if (n < 0 && errno == ERANGE)
        {
            names.resize(names.size() * 4);
            continue;
        }
        if (n <= 0)
            return false; // none, or a file system without them
        for (ssize_t i = 0; i < n; i += static_cast<ssize_t>(std::strlen(&names[i])) + 1)
            if (std::strcmp(&names[i], "security.selinux") != 0)
                return true;
        return false;
    }
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
    m_bSync = mode == modeCreate;
    m_bLock = mode != modeCreateShared;
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
    // A pipe or socket without a peer (ENXIO) cannot be used now.
    Fail(nErrno == ENXIO ? CFileException::accessDenied
                         : CFileException::CauseFromErrno(nErrno, bCreating));
}

void CFile::Lock(int nFd, int nOperation)
{
    while (flock(nFd, nOperation | LOCK_NB) != 0)
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
    // O_NONBLOCK: opening a pipe never waits for a writer.
    m_nFd = open(m_strFileName.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (m_nFd < 0)
        FailErrno(errno);
    struct stat st = {};
    if (fstat(m_nFd, &st) != 0)
        FailErrno(errno);
    if (S_ISDIR(st.st_mode))
        FailErrno(EISDIR);
    // Pipes, sockets and terminals would wait for someone else's bytes.
    if (S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode) || (S_ISCHR(st.st_mode) && isatty(m_nFd)))
        Fail(CFileException::accessDenied);
    Lock(m_nFd, LOCK_SH);
}

void CFile::OpenAlias(const std::string& strAlias)
{
    // Our own descriptor is written through a copy, so its position and
    // append mode decide where the bytes go ("> log" or ">> log").
    const int nOwn = OwnDescriptor(strAlias);
    if (nOwn >= 0)
        m_nFd = fcntl(nOwn, F_DUPFD_CLOEXEC, 3);
    if (m_nFd < 0)
        m_nFd = open(strAlias.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (m_nFd < 0)
        FailErrno(errno, true);
}

void CFile::OpenForWriting()
{
    m_bWriting = true;
    std::string strTarget;
    bool bAlias = false;
    if (const int nErrno = ResolveLinks(m_strFileName, strTarget, bAlias))
        FailErrno(nErrno, true);
    if (bAlias)
        return OpenAlias(strTarget);

    // Everything below works relative to the folder, so the temporary file's
    // name never makes a path longer than the target's.
    m_strBase = GetFileName(strTarget);
    const std::string strDir = GetFolderName(strTarget);
    m_nDirFd = open(strDir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_nDirFd < 0 && errno == EACCES)
        m_nDirFd = open(strDir.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (m_nDirFd < 0)
        FailErrno(errno, true);
    if (m_strBase.empty())
        FailErrno(EISDIR);

    struct stat st = {};
    const bool bExists = fstatat(m_nDirFd, m_strBase.c_str(), &st, 0) == 0;
    if (!bExists && errno != ENOENT)
        FailErrno(errno, true);
    if (bExists && S_ISDIR(st.st_mode))
        FailErrno(EISDIR);
    if (bExists && !S_ISREG(st.st_mode))
    {
        // A device or a pipe: written where it stands. O_NONBLOCK makes a
        // pipe without a reader fail at once instead of waiting for one.
        m_nFd = openat(m_nDirFd, m_strBase.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
        if (m_nFd < 0)
            FailErrno(errno, true);
        if (m_bLock)
            Lock(m_nFd, LOCK_EX);
        return;
    }

    if (bExists)
    {
        // Opening the old file for writing asks whether we may change it at
        // all, and holds it locked until it is replaced. Reading it too
        // allows its content to be put back should an in-place write fail.
        const int nFlags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
        m_nLockFd = openat(m_nDirFd, m_strBase.c_str(), O_RDWR | nFlags);
        if (m_nLockFd < 0 && errno == EACCES)
            m_nLockFd = openat(m_nDirFd, m_strBase.c_str(), O_WRONLY | nFlags);
        if (m_nLockFd < 0)
            FailErrno(errno, true);
        if (m_bLock)
            Lock(m_nLockFd, LOCK_EX);
        if (fstat(m_nLockFd, &st) != 0)
            FailErrno(errno);

        // A new file would lose the other names of the file, or get another
        // owner, group, ACL or attributes: then the file is rewritten.
        m_bInPlace = st.st_nlink > 1 || HasExtendedAttributes(m_nLockFd);
        if (!m_bInPlace && geteuid() != 0)
        {
            struct stat stDir = {};
            const gid_t nNewGroup = fstat(m_nDirFd, &stDir) == 0 && (stDir.st_mode & S_ISGID)
                                        ? stDir.st_gid
                                        : getegid();
            m_bInPlace = st.st_uid != geteuid() || st.st_gid != nNewGroup;
        }
    }

    if (!m_bInPlace && !CreateTemp())
    {
        if (!bExists)
            FailErrno(errno, true);
        m_bInPlace = true; // the folder takes no new file, the file can change
    }
    if (m_bInPlace)
    {
        m_nFd = m_nLockFd;
        m_nLockFd = -1;
        return;
    }
    if (bExists)
    {
        // Owner first: changing it may clear set-id bits that fchmod restores.
        // Only root gets here with a file of another owner or group.
        if (st.st_uid != geteuid() || st.st_gid != getegid())
            (void)!fchown(m_nFd, st.st_uid, st.st_gid);
        (void)!fchmod(m_nFd, st.st_mode & 07777);
    }
}

bool CFile::CreateTemp()
{
    // 0666 lets the umask and default ACLs decide for a new file.
    m_nFd = openat(m_nDirFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (m_nFd >= 0)
    {
        m_bReplace = true;
        return true;
    }
    if (IsCreationRefused(errno))
        return false;
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
        FailErrno(errno, true);

    // No unnamed files here: a hidden named one, removed on every failure.
    for (int nAttempt = 0;; ++nAttempt)
    {
        const std::string strTemp = TempName(m_strBase);
        m_nFd = openat(m_nDirFd, strTemp.c_str(),
                       O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (m_nFd >= 0)
        {
            m_strTemp = strTemp;
            SetCleanup(m_nDirFd, m_strTemp);
            m_bReplace = true;
            return true;
        }
        if (IsCreationRefused(errno))
            return false;
        if (errno != EEXIST || nAttempt == 100)
            FailErrno(errno, true);
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
    if (m_bInPlace)
    {
        m_strBuffer.append(static_cast<const char*>(pBuffer), nCount);
        return;
    }
    if (const int nErrno = WriteAll(m_nFd, static_cast<const char*>(pBuffer), nCount))
        FailErrno(nErrno);
}

void CFile::LinkTemp()
{
    // Between link and rename the file has a name: no interrupt may end the
    // process there. SIGKILL cannot be held off; the window is kept to the
    // two calls, and the name is fixed, so the next save of the same file
    // removes what a kill left there.
    const CSignalBlock block;
    const bool bUnnamed = m_strTemp.empty();
    if (bUnnamed)
    {
        const std::string strProc = "/proc/self/fd/" + std::to_string(m_nFd);
        std::string strTemp = LinkName(m_strBase);
        for (int nAttempt = 0; m_strTemp.empty(); ++nAttempt)
        {
            int nResult = linkat(m_nFd, "", m_nDirFd, strTemp.c_str(), AT_EMPTY_PATH);
            if (nResult != 0 && errno != EEXIST) // AT_EMPTY_PATH needs a privilege
                nResult =
                    linkat(AT_FDCWD, strProc.c_str(), m_nDirFd, strTemp.c_str(), AT_SYMLINK_FOLLOW);
            if (nResult == 0)
                m_strTemp = strTemp;
            else if (errno != EEXIST || nAttempt == 100)
                FailErrno(errno);
            else if (nAttempt == 0)
                unlinkat(m_nDirFd, strTemp.c_str(), 0); // left by a killed save
            else
                strTemp = TempName(m_strBase); // another save is at this point
        }
        SetCleanup(m_nDirFd, m_strTemp);
    }
    else
    {
        // A named file: closed first, so that a late write error still
        // stops the replacement.
        const int nFd = std::exchange(m_nFd, -1);
        if (close(nFd) != 0 && errno != EINTR) // Linux closes the descriptor even on EINTR
            FailErrno(errno);
    }
    if (renameat(m_nDirFd, m_strTemp.c_str(), m_nDirFd, m_strBase.c_str()) != 0)
        FailErrno(errno);
    m_strTemp.clear();
    ClearCleanup();
    if (bUnnamed)
        close(std::exchange(m_nFd, -1)); // the content is in place already
}

void CFile::CloseInPlace()
{
    std::string strOld;
    const bool bHaveOld = ReadWhole(m_nFd, strOld);
    int nErrno = WriteAll(m_nFd, m_strBuffer.data(), m_strBuffer.size(), 0);
    if (nErrno == 0 && ftruncate(m_nFd, static_cast<off_t>(m_strBuffer.size())) != 0)
        nErrno = errno;
    if (nErrno == 0 && m_bSync && fsync(m_nFd) != 0 && !IsSyncUnsupported(errno))
        nErrno = errno;
    if (nErrno != 0 && bHaveOld)
    {
        // Put the old content back; it takes no more room than it had.
        if (WriteAll(m_nFd, strOld.data(), strOld.size(), 0) == 0 &&
            ftruncate(m_nFd, static_cast<off_t>(strOld.size())) == 0)
            (void)fsync(m_nFd);
    }
    if (nErrno != 0)
        FailErrno(nErrno);
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

    if (m_bInPlace)
        CloseInPlace();
    else if (m_bSync && fsync(m_nFd) != 0 && !IsSyncUnsupported(errno))
        FailErrno(errno);

    if (m_bReplace)
    {
        LinkTemp();
        // Make the rename itself durable; the file is complete either way.
        if (m_bSync)
            (void)fsync(m_nDirFd);
    }
    else
    {
        const int nFd = m_nFd;
        m_nFd = -1;
        if (close(nFd) != 0 && errno != EINTR)
            FailErrno(errno);
    }
    Release();
}

void CFile::Abort()
{
    if (m_nFd >= 0)
        close(m_nFd);
    if (!m_strTemp.empty() && m_nDirFd >= 0)
        unlinkat(m_nDirFd, m_strTemp.c_str(), 0);
    if (!m_strTemp.empty())
        ClearCleanup();
    Release();
}

void CFile::Release()
{
    if (m_nLockFd >= 0)
        close(m_nLockFd);
    if (m_nDirFd >= 0)
        close(m_nDirFd);
    m_nFd = -1;
    m_nLockFd = -1;
    m_nDirFd = -1;
    m_strTemp.clear();
    m_strBase.clear();
    m_strBuffer.clear();
    m_bWriting = false;
    m_bInPlace = false;
    m_bReplace = false;
}

void WriteToDescriptor(int nFd, const void* pBuffer, std::size_t nCount, const std::string& strName)
{
    if (const int nErrno = WriteAll(nFd, static_cast<const char*>(pBuffer), nCount))
        throw CFileException(CFileException::CauseFromErrno(nErrno), strName);
}

bool IsSameFile(const std::string& strPath1, const std::string& strPath2)
{
    struct stat st1 = {};
    struct stat st2 = {};
    return stat(strPath1.c_str(), &st1) == 0 && stat(strPath2.c_str(), &st2) == 0 &&
           st1.st_dev == st2.st_dev && st1.st_ino == st2.st_ino;
}

void InstallTemporaryFileCleanup()
{
    for (const int nSignal : TERMINATING_SIGNALS)
    {
        struct sigaction old = {};
        if (sigaction(nSignal, nullptr, &old) == 0 && old.sa_handler == SIG_IGN)
            continue; // ignored on purpose (nohup): stays ignored
        struct sigaction action = {};
        action.sa_handler = OnTerminatingSignal;
        sigemptyset(&action.sa_mask);
        sigaction(nSignal, &action, nullptr);
    }
}
