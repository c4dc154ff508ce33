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

#include <dirent.h>
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

// The descriptor that strPath names when it is one of this process's open
// descriptors (/dev/stdin, /dev/stdout, /dev/stderr, /dev/fd/N,
// /proc/self/fd/N, /proc/<our pid>/fd/N); -1 for every other name, which is
// a file like any other.
int DescriptorAlias(const std::string& strPath)
{
    int nFd = -1;
    if (strPath == "/dev/stdin")
        nFd = 0;
    else if (strPath == "/dev/stdout")
        nFd = 1;
    else if (strPath == "/dev/stderr")
        nFd = 2;
    else
    {
        const std::string strOwnProc = "/proc/" + std::to_string(getpid()) + "/fd/";
        for (const std::string& strPrefix : {std::string("/proc/self/fd/"), std::string("/dev/fd/"),
                                             std::string("/proc/thread-self/fd/"), strOwnProc})
        {
            if (!strPath.starts_with(strPrefix) || strPath.size() == strPrefix.size() ||
                strPath.size() > strPrefix.size() + 9)
                continue;
            nFd = 0;
            for (std::size_t i = strPrefix.size(); i < strPath.size(); ++i)
            {
                if (strPath[i] < '0' || strPath[i] > '9')
                    return -1;
                nFd = nFd * 10 + (strPath[i] - '0');
            }
            break;
        }
    }
    return nFd >= 0 && fcntl(nFd, F_GETFD) != -1 ? nFd : -1;
}

// Follows symbolic links from strName to the name of the file they lead to,
// which may not exist yet. Returns 0 or an errno value; nAliasFd is set when
// the chain reaches one of our open descriptors, which is written in place.
int ResolveLinks(const std::string& strName, std::string& strTarget, int& nAliasFd)
{
    strTarget = strName;
    nAliasFd = -1;
    for (int nHops = 0;; ++nHops)
    {
        nAliasFd = DescriptorAlias(strTarget);
        if (nAliasFd >= 0)
            return 0;
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

const char s_szTempSuffix[] = ".velkor-tmp";
const char s_szRecoverySuffix[] = ".velkor-backup";
constexpr std::size_t MAX_SUFFIX = 1 + 10 + sizeof s_szTempSuffix; // ".<pid>.velkor-tmp"

// The start of the hidden names beside strBase: ".plan.vlk", or a hash of
// a name too long to leave room for a suffix.
std::string HiddenStem(const std::string& strBase)
{
    if (1 + strBase.size() + MAX_SUFFIX <= NAME_MAX)
        return "." + strBase;
    char szHash[17];
    std::snprintf(szHash, sizeof szHash, "%016zx", std::hash<std::string>{}(strBase));
    return ".velkor-" + std::string(szHash);
}

// The name of this process's temporary file for strBase, linked or created
// just before it is renamed over strBase: ".plan.vlk.<pid>.velkor-tmp". One
// per process, so two programs saving the same file never meet; the next
// save of the file removes what a killed one left.
std::string TempName(const std::string& strBase)
{
    return HiddenStem(strBase) + "." + std::to_string(getpid()) + s_szTempSuffix;
}

// The copy of the old content kept while a file is rewritten in place.
std::string RecoveryName(const std::string& strBase)
{
    return HiddenStem(strBase) + s_szRecoverySuffix;
}

// Removes the temporary files of strBase that saves killed before they
// finished left in the folder. A live save holds a lock on its temporary
// file, so only the abandoned ones are removed.
void RemoveAbandonedTemporaries(int nDirFd, const std::string& strBase)
{
    const std::string strPrefix = HiddenStem(strBase) + ".";
    const std::size_t nSuffix = std::strlen(s_szTempSuffix);
    const int nListFd = openat(nDirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (nListFd < 0)
        return; // an unreadable folder: nothing can be found there
    DIR* pDir = fdopendir(nListFd);
    if (pDir == nullptr)
    {
        close(nListFd);
        return;
    }
    std::vector<std::string> abandoned;
    while (const dirent* pEntry = readdir(pDir))
    {
        const std::string_view name = pEntry->d_name;
        if (!name.starts_with(strPrefix) || !name.ends_with(s_szTempSuffix) ||
            name.size() <= strPrefix.size() + nSuffix)
            continue;
        const std::string_view pid =
            name.substr(strPrefix.size(), name.size() - strPrefix.size() - nSuffix);
        if (pid.find_first_not_of("0123456789") == std::string_view::npos)
            abandoned.emplace_back(name);
    }
    closedir(pDir);
    for (const std::string& strName : abandoned)
    {
        const int nFd = openat(nDirFd, strName.c_str(),
                               O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (nFd < 0)
            continue;
        struct stat st = {};
        if (fstat(nFd, &st) == 0 && S_ISREG(st.st_mode) && flock(nFd, LOCK_EX | LOCK_NB) == 0)
            unlinkat(nDirFd, strName.c_str(), 0);
        close(nFd);
    }
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
#ifdef __EMSCRIPTEN__ // the browser's files have none (its C library declares the call only)
    (void)nFd;
    return false;
#endif
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

// Removes strName from the folder when it is a regular file that no live
// save holds locked (left by a killed one). True when it is gone.
bool RemoveIfAbandoned(int nDirFd, const std::string& strName)
{
    const int nFd =
        openat(nDirFd, strName.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (nFd < 0)
        return errno == ENOENT;
    struct stat st = {};
    const bool bRemoved = fstat(nFd, &st) == 0 && S_ISREG(st.st_mode) &&
                          flock(nFd, LOCK_EX | LOCK_NB) == 0 &&
                          unlinkat(nDirFd, strName.c_str(), 0) == 0;
    close(nFd);
    return bRemoved;
}

// Reserves the disk space of nSize bytes from the start of the file without
// changing its size or content. 0, an errno value, or EOPNOTSUPP where the
// file system cannot reserve.
int Reserve(int nFd, std::size_t nSize)
{
    if (nSize == 0)
        return 0;
#ifdef __EMSCRIPTEN__ // nothing to reserve in memory (its C library declares the call only)
    (void)nFd;
    return EOPNOTSUPP;
#endif
    while (fallocate(nFd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(nSize)) != 0)
    {
        if (errno == EINTR)
            continue;
        if (errno == EOPNOTSUPP || errno == ENOSYS || errno == EINVAL || errno == ENODEV)
            return EOPNOTSUPP;
        return errno;
    }
    return 0;
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

void CFile::Fail(CFileException::Cause cause, int nOsError, const char* pszKind)
{
    Abort();
    CFileException e(cause, m_strFileName, nOsError);
    if (pszKind != nullptr)
        e.SetFileKind(pszKind);
    throw e;
}

void CFile::FailErrno(int nErrno, bool bCreating)
{
    // A pipe or socket without a peer (ENXIO) cannot be used now.
    if (nErrno == ENXIO)
    {
        struct stat st = {};
        const bool bSocket = stat(m_strFileName.c_str(), &st) == 0 && S_ISSOCK(st.st_mode);
        Fail(CFileException::accessDenied, nErrno, bSocket ? "a socket" : nullptr);
    }
    Fail(CFileException::CauseFromErrno(nErrno, bCreating), nErrno);
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
            Fail(CFileException::sharingViolation, EWOULDBLOCK);
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
    if (S_ISFIFO(st.st_mode))
        Fail(CFileException::accessDenied, 0, "a pipe");
    if (S_ISSOCK(st.st_mode))
        Fail(CFileException::accessDenied, 0, "a socket");
    if (S_ISCHR(st.st_mode) && isatty(m_nFd))
        Fail(CFileException::accessDenied, 0, "a terminal");
    Lock(m_nFd, LOCK_SH);
}

void CFile::OpenAlias(int nAliasFd)
{
    // Our own descriptor is written through a copy, so its position and
    // append mode decide where the bytes go ("> log" or ">> log").
    m_nFd = fcntl(nAliasFd, F_DUPFD_CLOEXEC, 3);
    if (m_nFd < 0)
        FailErrno(errno, true);
}

void CFile::OpenForWriting()
{
    m_bWriting = true;
    std::string strTarget;
    int nAliasFd = -1;
    if (const int nErrno = ResolveLinks(m_strFileName, strTarget, nAliasFd))
        FailErrno(nErrno, true);
    if (nAliasFd >= 0)
        return OpenAlias(nAliasFd);

    // The kernel follows the links, as for any program that opens the name,
    // so a link it refuses to follow (protected_symlinks) is refused here
    // too; the links were followed by hand only to find the folder.
    struct stat st = {};
    const bool bExists = stat(m_strFileName.c_str(), &st) == 0;
    if (!bExists && errno != ENOENT)
        FailErrno(errno, true);
    if (bExists && S_ISDIR(st.st_mode))
        FailErrno(EISDIR);
    // Opened by the name as given and with O_CREAT, as a shell's ">" does:
    // the kernel decides whether we may write it (protected_regular too).
    const int nFlags = O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    if (bExists && !S_ISREG(st.st_mode))
    {
        // A device or a pipe: written where it stands. O_NONBLOCK makes a
        // pipe without a reader fail at once instead of waiting for one.
        m_nFd = open(m_strFileName.c_str(), O_WRONLY | nFlags, 0666);
        if (m_nFd < 0)
            FailErrno(errno, true);
        if (m_bLock)
            Lock(m_nFd, LOCK_EX);
        return;
    }

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
    RemoveAbandonedTemporaries(m_nDirFd, m_strBase);

    if (bExists)
    {
        // Opening the old file for writing asks whether we may change it at
        // all, and holds it locked until it is replaced. Reading it too
        // allows its content to be kept and put back should an in-place
        // write fail.
        // The file the kernel opened must be the one in the folder found by
        // hand. Another save renaming its file over the name meanwhile makes
        // them differ for a moment: the name is opened again.
        for (int nAttempt = 0;; ++nAttempt)
        {
            m_nLockFd = open(m_strFileName.c_str(), O_RDWR | nFlags, 0666);
            if (m_nLockFd < 0 && errno == EACCES)
                m_nLockFd = open(m_strFileName.c_str(), O_WRONLY | nFlags, 0666);
            if (m_nLockFd < 0)
                FailErrno(errno, true);
            struct stat stNamed = {};
            if (fstat(m_nLockFd, &st) != 0)
                FailErrno(errno);
            if (S_ISREG(st.st_mode) &&
                fstatat(m_nDirFd, m_strBase.c_str(), &stNamed, AT_SYMLINK_NOFOLLOW) == 0 &&
                stNamed.st_dev == st.st_dev && stNamed.st_ino == st.st_ino)
                break;
            if (nAttempt == 100)
                Fail(CFileException::sharingViolation);
            close(std::exchange(m_nLockFd, -1));
        }
        if (m_bLock)
            Lock(m_nLockFd, LOCK_EX);

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
        // Held while the save lives: the next save removes only names that
        // nobody holds.
        (void)flock(m_nFd, LOCK_EX | LOCK_NB);
        m_bReplace = true;
        return true;
    }
    if (IsCreationRefused(errno))
        return false;
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
        FailErrno(errno, true);

    // No unnamed files here: a hidden named one, removed on every failure.
    // No interrupt may come between its creation and its cleanup's record.
    const CSignalBlock block;
    const std::string strTemp = TempName(m_strBase);
    for (int nAttempt = 0;; ++nAttempt)
    {
        m_nFd = openat(m_nDirFd, strTemp.c_str(),
                       O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (m_nFd >= 0)
        {
            (void)flock(m_nFd, LOCK_EX | LOCK_NB);
            m_strTemp = strTemp;
            SetCleanup(m_nDirFd, m_strTemp);
            m_bReplace = true;
            return true;
        }
        const int nErrno = errno;
        if (IsCreationRefused(nErrno))
            return false;
        // Our name is taken only by what a killed process of the same
        // number left.
        if (nErrno != EEXIST || nAttempt == 1 || !RemoveIfAbandoned(m_nDirFd, strTemp))
            FailErrno(nErrno, true);
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
        const std::string strTemp = TempName(m_strBase);
        for (int nAttempt = 0; m_strTemp.empty(); ++nAttempt)
        {
            int nResult = linkat(m_nFd, "", m_nDirFd, strTemp.c_str(), AT_EMPTY_PATH);
            if (nResult != 0 && errno != EEXIST) // AT_EMPTY_PATH needs a privilege
                nResult =
                    linkat(AT_FDCWD, strProc.c_str(), m_nDirFd, strTemp.c_str(), AT_SYMLINK_FOLLOW);
            const int nErrno = errno;
            if (nResult == 0)
                m_strTemp = strTemp;
            else if (nErrno != EEXIST || nAttempt == 1 || !RemoveIfAbandoned(m_nDirFd, strTemp))
                FailErrno(nErrno);
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

bool CFile::KeepRecoveryCopy(const std::string& strOld)
{
    // A copy left by an interrupted save stays: the file may be torn, and
    // the copy holds the last complete content.
    const std::string strName = RecoveryName(m_strBase);
    struct stat st = {};
    if (fstatat(m_nDirFd, strName.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0)
        return S_ISREG(st.st_mode);
    const int nFd = openat(m_nDirFd, strName.c_str(),
                           O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0600);
    if (nFd < 0)
        return false; // the folder takes no new file
    // Readable by whoever may read the file.
    if (fstat(m_nFd, &st) == 0)
    {
        if (geteuid() == 0)
            (void)!fchown(nFd, st.st_uid, st.st_gid);
        (void)!fchmod(nFd, st.st_mode & 0666);
    }
    if (WriteAll(nFd, strOld.data(), strOld.size()) != 0 ||
        (m_bSync && fsync(nFd) != 0 && !IsSyncUnsupported(errno)))
    {
        close(nFd);
        unlinkat(m_nDirFd, strName.c_str(), 0);
        return false;
    }
    close(nFd);
    if (m_bSync)
        (void)fsync(m_nDirFd);
    return true;
}

void CFile::RemoveRecoveryCopy()
{
    if (m_nDirFd >= 0 && !m_strBase.empty())
        unlinkat(m_nDirFd, RecoveryName(m_strBase).c_str(), 0);
}

void CFile::CloseInPlace()
{
    // Interrupts wait until the file is whole again; a kill leaves the old
    // content in the recovery copy beside the file.
    const CSignalBlock block;
    std::string strOld;
    const bool bHaveOld = ReadWhole(m_nFd, strOld);
    const bool bCopy = bHaveOld && KeepRecoveryCopy(strOld);
    // The room for the new content is reserved before a byte changes, so a
    // full disk stops the save while the file is still whole.
    int nErrno = Reserve(m_nFd, m_strBuffer.size());
    if (nErrno == EOPNOTSUPP)
        nErrno = bHaveOld ? 0 : EACCES; // nothing could put the old content back
    if (nErrno != 0)
    {
        if (bCopy)
            RemoveRecoveryCopy();
        FailErrno(nErrno);
    }

    nErrno = WriteAll(m_nFd, m_strBuffer.data(), m_strBuffer.size(), 0);
    if (nErrno == 0 && ftruncate(m_nFd, static_cast<off_t>(m_strBuffer.size())) != 0)
        nErrno = errno;
    if (nErrno == 0 && m_bSync && fsync(m_nFd) != 0 && !IsSyncUnsupported(errno))
        nErrno = errno;
    bool bWhole = nErrno == 0;
    if (nErrno != 0 && bHaveOld)
    {
        // Put the old content back; it takes no more room than it had.
        bWhole = WriteAll(m_nFd, strOld.data(), strOld.size(), 0) == 0 &&
                 ftruncate(m_nFd, static_cast<off_t>(strOld.size())) == 0;
        if (bWhole)
            (void)fsync(m_nFd);
    }
    if (bWhole)
        RemoveRecoveryCopy();
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
        RemoveRecoveryCopy(); // the complete new file replaced a torn one
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

std::string GetRecoveryCopyPath(const std::string& strPath)
{
    std::string strTarget;
    int nAliasFd = -1;
    if (ResolveLinks(strPath, strTarget, nAliasFd) != 0 || nAliasFd >= 0)
        return {};
    const std::string strCopy =
        GetFolderName(strTarget) + "/" + RecoveryName(GetFileName(strTarget));
    struct stat st = {};
    return lstat(strCopy.c_str(), &st) == 0 && S_ISREG(st.st_mode) ? strCopy : std::string();
}

std::optional<FileId> GetFileId(const std::string& strPath)
{
    struct stat st = {};
    if (stat(strPath.c_str(), &st) != 0)
        return std::nullopt;
    return FileId{st.st_dev, st.st_ino};
}
