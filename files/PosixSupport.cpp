#include "files/PosixSupport.h"
#include "files/File.h"
#include "files/Path.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <functional>
#include <random>
#include <string_view>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <unistd.h>
#if VELKOR_LINUX_FILE_CALLS
#include <sys/xattr.h>
#endif

namespace posix_file
{
namespace
{
constexpr int MAX_LINK_HOPS = 40; // as the kernel allows
constexpr int TERMINATING_SIGNALS[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
const char s_szTempSuffix[] = ".velkor-tmp";
const char s_szRecoverySuffix[] = ".velkor-backup";
constexpr std::size_t RANDOM_LENGTH = 16;
constexpr std::size_t MAX_SUFFIX = 1 + RANDOM_LENGTH + sizeof s_szTempSuffix;

// The named temporary file that a terminating signal removes: its folder's
// descriptor (-1: none) and its name in that folder.
volatile std::sig_atomic_t g_nCleanupDirFd = -1;
char g_szCleanupName[NAME_MAX + 1];

extern "C" void OnTerminatingSignal(int nSignal)
{
    const int nDirFd = g_nCleanupDirFd;
    if (nDirFd >= 0)
        unlinkat(nDirFd, g_szCleanupName, 0);
    std::signal(nSignal, SIG_DFL);
    std::raise(nSignal); // ends the process as the signal asks
}

// The descriptor that strPath names when it is one of this process's open
// descriptors (/dev/stdin, /dev/stdout, /dev/stderr, /dev/fd/N,
// /proc/self/fd/N, /proc/<our pid>/fd/N); -1 for every other name, which is
// a file like any other. Told by the name alone, so it works without /proc.
int DescriptorAlias(const std::string& strPath)
{
    static const char* const s_apszStandard[] = {"/dev/stdin", "/dev/stdout", "/dev/stderr"};
    int nFd = -1;
    for (int i = 0; i < 3; ++i)
        if (strPath == s_apszStandard[i])
            nFd = i;
    const std::string strOwnProc = "/proc/" + std::to_string(getpid()) + "/fd/";
    for (const std::string& strPrefix : {std::string("/proc/self/fd/"), std::string("/dev/fd/"),
                                         std::string("/proc/thread-self/fd/"), strOwnProc})
    {
        if (nFd >= 0 || !strPath.starts_with(strPrefix) || strPath.size() == strPrefix.size() ||
            strPath.size() > strPrefix.size() + 9)
            continue;
        nFd = 0;
        for (std::size_t i = strPrefix.size(); i < strPath.size(); ++i)
        {
            if (strPath[i] < '0' || strPath[i] > '9')
                return -1;
            nFd = nFd * 10 + (strPath[i] - '0');
        }
    }
    return nFd >= 0 && fcntl(nFd, F_GETFD) != -1 ? nFd : -1;
}

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

// Removes strName when it is a regular file that no live save holds: the
// lock is taken on the opened file and the name checked to still lead to
// it, so a file created meanwhile under the name stays.
void RemoveIfAbandoned(int nDirFd, const char* pszName)
{
    const int nFd =
        openat(nDirFd, pszName, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (nFd < 0)
        return;
    struct stat st = {};
    struct stat stNamed = {};
    if (fstat(nFd, &st) == 0 && S_ISREG(st.st_mode) && flock(nFd, LOCK_EX | LOCK_NB) == 0 &&
        fstatat(nDirFd, pszName, &stNamed, AT_SYMLINK_NOFOLLOW) == 0 && IsSame(st, stNamed))
        unlinkat(nDirFd, pszName, 0);
    close(nFd);
}
} // namespace

int WriteAll(int nFd, const char* pBytes, std::size_t nCount, off_t nOffset)
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

bool IsSyncUnsupported(int nErrno)
{
    return nErrno == EINVAL || nErrno == EROFS || nErrno == EOPNOTSUPP || nErrno == ENOTSUP;
}

bool IsCreationRefused(int nErrno)
{
    return nErrno == EACCES || nErrno == EPERM || nErrno == EROFS;
}

int ResolveLinks(const std::string& strName, std::string& strTarget, int& nAliasFd)
{
    strTarget = strName;
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
        while ((nLength = readlink(strTarget.c_str(), buffer.data(), buffer.size())) >= 0 &&
               static_cast<std::size_t>(nLength) >= buffer.size())
            buffer.resize(buffer.size() * 2);
        if (nLength < 0)
            return errno;
        const std::string strLink(buffer.data(), static_cast<std::size_t>(nLength));
        if (strLink.empty())
            return ENOENT;
        strTarget = strLink.front() == '/' ? strLink : GetFolderName(strTarget) + "/" + strLink;
    }
}

std::string RandomTempName(const std::string& strBase)
{
    static std::mt19937_64 s_random(std::random_device{}() ^
                                    (std::uint64_t(std::random_device{}()) << 32) ^
                                    std::uint64_t(getpid()));
    static const char s_szChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string strName = HiddenStem(strBase) + ".";
    for (std::size_t i = 0; i < RANDOM_LENGTH; ++i)
        strName += s_szChars[s_random() % (sizeof s_szChars - 1)];
    return strName + s_szTempSuffix;
}

std::string RecoveryName(const std::string& strBase)
{
    return HiddenStem(strBase) + s_szRecoverySuffix;
}

int CreateNamedTemp(int nDirFd, const std::string& strBase, std::string& strName)
{
    for (int nAttempt = 0; nAttempt < 100; ++nAttempt)
    {
        strName = RandomTempName(strBase);
        // 0666 lets the umask and default ACLs decide for a new file.
        const int nFd =
            openat(nDirFd, strName.c_str(),
                   O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0666);
        if (nFd < 0 && errno == EEXIST)
            continue; // someone holds that name: another one
        if (nFd < 0)
            return -1;
        // Locked, then checked to be still under its name: a cleanup by a
        // concurrent save that came between creation and lock removed it.
        struct stat st = {};
        struct stat stNamed = {};
        if (flock(nFd, LOCK_EX | LOCK_NB) == 0 && fstat(nFd, &st) == 0 &&
            fstatat(nDirFd, strName.c_str(), &stNamed, AT_SYMLINK_NOFOLLOW) == 0 &&
            IsSame(st, stNamed))
            return nFd;
        close(nFd);
    }
    strName.clear();
    errno = EEXIST;
    return -1;
}

void RemoveAbandonedTemporaries(int nDirFd, const std::string& strBase)
{
    const std::string strPrefix = HiddenStem(strBase) + ".";
    const std::size_t nSuffix = std::strlen(s_szTempSuffix);
    const int nListFd = openat(nDirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* pDir = nListFd < 0 ? nullptr : fdopendir(nListFd);
    if (pDir == nullptr)
    {
        if (nListFd >= 0)
            close(nListFd);
        return; // an unreadable folder: nothing can be found there
    }
    std::vector<std::string> abandoned;
    while (const dirent* pEntry = readdir(pDir))
    {
        const std::string_view name = pEntry->d_name;
        if (!name.starts_with(strPrefix) || !name.ends_with(s_szTempSuffix) ||
            name.size() <= strPrefix.size() + nSuffix)
            continue;
        const std::string_view id =
            name.substr(strPrefix.size(), name.size() - strPrefix.size() - nSuffix);
        if (id.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789") == std::string_view::npos)
            abandoned.emplace_back(name);
    }
    closedir(pDir);
    for (const std::string& strName : abandoned)
        RemoveIfAbandoned(nDirFd, strName.c_str());
}

bool HasExtendedAttributes([[maybe_unused]] int nFd)
{
#if VELKOR_LINUX_FILE_CALLS
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
#else
    return false;
#endif
}

int Reserve(int nFd, std::size_t nSize, std::size_t nOldSize)
{
#if VELKOR_LINUX_FILE_CALLS
    (void)nOldSize;
    if (nSize == 0)
        return 0;
    while (fallocate(nFd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(nSize)) != 0)
    {
        if (errno == EINTR)
            continue;
        if (errno == EOPNOTSUPP || errno == ENOSYS || errno == EINVAL || errno == ENODEV)
            return -1;
        return errno;
    }
    return 0;
#else
    // Without fallocate the room beyond the old end is taken by writing
    // zeros there and synced; a failure cuts the file back to its old size,
    // so its old content stays as it was.
    if (nSize <= nOldSize)
        return 0;
    const std::string strZeros(nSize - nOldSize, '\0');
    int nErrno = WriteAll(nFd, strZeros.data(), strZeros.size(), static_cast<off_t>(nOldSize));
    if (nErrno == 0 && fsync(nFd) != 0 && !IsSyncUnsupported(errno))
        nErrno = errno;
    if (nErrno != 0 && ftruncate(nFd, static_cast<off_t>(nOldSize)) != 0)
        return errno;
    return nErrno;
#endif
}

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

CSignalBlock::CSignalBlock()
{
    sigset_t set;
    sigemptyset(&set);
    for (const int nSignal : TERMINATING_SIGNALS)
        sigaddset(&set, nSignal);
    pthread_sigmask(SIG_BLOCK, &set, &m_old);
}

CSignalBlock::~CSignalBlock()
{
    pthread_sigmask(SIG_SETMASK, &m_old, nullptr);
}
} // namespace posix_file

using namespace posix_file;

void WriteToDescriptor(int nFd, const void* pBuffer, std::size_t nCount, const std::string& strName)
{
    if (const int nErrno = WriteAll(nFd, static_cast<const char*>(pBuffer), nCount))
        throw CFileException(CFileException::CauseFromErrno(nErrno), strName);
}

bool IsSameFile(const std::string& strPath1, const std::string& strPath2)
{
    const auto id = GetFileId(strPath1);
    return id && id == GetFileId(strPath2);
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
    // Only a copy a save of this file could have made: a regular file of
    // the file's owner or of this user, never one another user planted.
    struct stat st = {};
    struct stat stFile = {};
    const bool bFile = stat(strTarget.c_str(), &stFile) == 0;
    if (lstat(strCopy.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_nlink != 1)
        return {};
    return st.st_uid == geteuid() || (bFile && st.st_uid == stFile.st_uid) ? strCopy
                                                                           : std::string();
}

std::optional<FileId> GetFileId(const std::string& strPath)
{
    // Our own descriptors by their number, where /dev/fd may be missing.
    struct stat st = {};
    const int nAliasFd = DescriptorAlias(strPath);
    if ((nAliasFd >= 0 ? fstat(nAliasFd, &st) : stat(strPath.c_str(), &st)) != 0)
        return std::nullopt;
    return FileId{st.st_dev, st.st_ino};
}
