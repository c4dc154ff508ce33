// The POSIX backend of the file object (File.h): flock for the locks,
// descriptors relative to the target's folder, and the Linux calls
// (O_TMPFILE, O_PATH, linkat of an unnamed file, fallocate, flistxattr)
// only where PosixSupport.h says they exist.
#include "files/File.h"
#include "files/FileBackend.h"
#include "files/Path.h"
#include "files/PosixSupport.h"
#include "res/Strings.h"
#include "res/resource.h"

#include <cerrno>
#include <climits>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace posix_file;

namespace
{
class CPosixFile final : public CFileBackend
{
public:
    using CFileBackend::CFileBackend;
    ~CPosixFile() override { Abort(); }

    bool IsOpen() const override { return m_nFd >= 0; }
    void OpenForReading() override;
    void OpenForWriting() override;
    std::size_t Read(void* pBuffer, std::size_t nCount) override;
    void WriteOut(const char* pBytes, std::size_t nCount) override;
    bool ReadOldContent(std::string& strOld) override { return ReadWhole(m_nFd, strOld); }
    bool KeepRecoveryCopy(const std::string& strOld) override;
    void RemoveRecoveryCopy() override;
    OsError ReserveRoom(std::size_t nSize) override;
    OsError Rewrite(const std::string& strBytes, bool bSync) override;
    void HoldInterrupts(bool bHold) override;
    void PutInPlace() override;
    void CloseTarget() override;
    void Abort() noexcept override;
    [[noreturn]] void FailOs(OsError nError, bool bCreating = false) override;

private:
    [[noreturn]] void FailNoTempName();
    void Lock(int nFd, int nOperation);
    void OpenAlias(int nAliasFd);
    void OpenFolder(const std::string& strTarget);
    void OpenExisting(struct stat& st);
    bool IdentityWouldChange(const struct stat& st);
    bool CreateTemp(STargetFacts& facts);
    void LinkUnnamed();
    int CopyAside(const std::string& strOld, std::string& strName);

    std::string m_strDir;        // the target's folder
    std::string m_strBase;       // the target's name in its folder
    std::string m_strTemp;       // a named temporary file in the folder, if any
    int m_nFd = -1;              // the descriptor read from or written to
    int m_nLockFd = -1;          // the existing target, held locked meanwhile
    int m_nDirFd = -1;           // the target's folder
    bool m_bBorrowed = false;    // m_nFd is one of the process's own: not closed
    struct stat m_stTarget = {}; // the existing target, when it exists
    struct stat m_stCopy = {};   // the recovery copy this save made
    bool m_bCopy = false;
    sigset_t m_oldMask = {};
};
} // namespace

std::unique_ptr<CFileBackend> MakeFileBackend(const std::string& strFileName)
{
    return std::make_unique<CPosixFile>(strFileName);
}

void CPosixFile::FailOs(OsError nError, bool bCreating)
{
    const int nErrno = static_cast<int>(nError);
    // A pipe or socket without a peer (ENXIO) cannot be used now.
    if (nErrno == ENXIO)
    {
        struct stat st = {};
        const bool bSocket = stat(m_strFileName.c_str(), &st) == 0 && S_ISSOCK(st.st_mode);
        Fail(CFileException::accessDenied, nErrno,
             bSocket ? LoadResString(IDS_FILE_KIND_SOCKET).c_str() : nullptr);
    }
    Fail(CFileException::CauseFromErrno(nErrno, bCreating), nErrno);
}

// Every random name tried was taken: said as such.
void CPosixFile::FailNoTempName()
{
    CFileException e(CFileException::generic, m_strFileName, EEXIST);
    e.AppendToMessage(LoadResString(IDS_FILE_TEMP_NAMES_TAKEN));
    Abort();
    throw e;
}

void CPosixFile::Lock(int nFd, int nOperation)
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
            FailOs(errno);
        }
    }
}

void CPosixFile::OpenForReading()
{
    // O_NONBLOCK: opening a pipe never waits for a writer.
    m_nFd = open(m_strFileName.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (m_nFd < 0)
        FailOs(errno);
    struct stat st = {};
    if (fstat(m_nFd, &st) != 0)
        FailOs(errno);
    if (S_ISDIR(st.st_mode))
        FailOs(EISDIR);
    // Pipes, sockets and terminals would wait for someone else's bytes.
    if (S_ISFIFO(st.st_mode))
        Fail(CFileException::accessDenied, 0, LoadResString(IDS_FILE_KIND_PIPE).c_str());
    if (S_ISSOCK(st.st_mode))
        Fail(CFileException::accessDenied, 0, LoadResString(IDS_FILE_KIND_SOCKET).c_str());
    if (S_ISCHR(st.st_mode) && isatty(m_nFd))
        Fail(CFileException::accessDenied, 0, LoadResString(IDS_FILE_KIND_TERMINAL).c_str());
    Lock(m_nFd, LOCK_SH);
}

void CPosixFile::OpenAlias(int nAliasFd)
{
#if VELKOR_LINUX_FILE_CALLS
    // Our own descriptor is written through a copy, so its position and
    // append mode decide where the bytes go ("> log" or ">> log").
    m_nFd = fcntl(nAliasFd, F_DUPFD_CLOEXEC, 3);
    if (m_nFd < 0)
        FailOs(errno, true);
#else
    // Written through the descriptor itself: a copy of it is not the same
    // open file everywhere (the browser's opens the name again).
    m_nFd = nAliasFd;
    m_bBorrowed = true;
#endif
}

// Everything below works relative to the folder, so the temporary file's
// name never makes a path longer than the target's.
void CPosixFile::OpenFolder(const std::string& strTarget)
{
    m_strBase = GetFileName(strTarget);
    m_strDir = GetFolderName(strTarget);
    const std::string& strDir = m_strDir;
    m_nDirFd = open(strDir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
#if VELKOR_LINUX_FILE_CALLS
    if (m_nDirFd < 0 && errno == EACCES) // a folder we may enter but not list
        m_nDirFd = open(strDir.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
#elif defined(O_SEARCH)
    if (m_nDirFd < 0 && errno == EACCES)
        m_nDirFd = open(strDir.c_str(), O_SEARCH | O_DIRECTORY | O_CLOEXEC);
#endif
    if (m_nDirFd < 0)
        FailOs(errno, true);
    if (m_strBase.empty())
        FailOs(EISDIR);
    RemoveAbandonedTemporaries(m_nDirFd, m_strBase);
}

// Opening the old file for writing asks whether we may change it at all,
// and holds it locked until it is replaced. Reading it too allows its
// content to be kept and put back should an in-place write fail. The file
// the kernel opened must be the one in the folder found by hand: another
// save renaming its file over the name meanwhile makes them differ for a
// moment, and the name is opened again.
void CPosixFile::OpenExisting(struct stat& st)
{
    const int nFlags = O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    for (int nAttempt = 0;; ++nAttempt)
    {
        m_nLockFd = open(m_strFileName.c_str(), O_RDWR | nFlags, 0666);
        if (m_nLockFd < 0 && errno == EACCES)
            m_nLockFd = open(m_strFileName.c_str(), O_WRONLY | nFlags, 0666);
        if (m_nLockFd < 0)
            FailOs(errno, true);
        struct stat stNamed = {};
        if (fstat(m_nLockFd, &st) != 0)
            FailOs(errno);
        if (S_ISREG(st.st_mode) &&
            fstatat(m_nDirFd, m_strBase.c_str(), &stNamed, AT_SYMLINK_NOFOLLOW) == 0 &&
            IsSame(stNamed, st))
            break;
        if (nAttempt == 100)
            Fail(CFileException::sharingViolation);
        close(std::exchange(m_nLockFd, -1));
    }
    if (m_bLock)
        Lock(m_nLockFd, LOCK_EX);
    m_stTarget = st;
}

// A new file would lose the other names of the file, or get another owner,
// group, ACL or attributes.
bool CPosixFile::IdentityWouldChange(const struct stat& st)
{
    if (st.st_nlink > 1 || HasExtendedAttributes(m_nLockFd))
        return true;
    if (geteuid() == 0)
        return false; // root gives the new file the old owner and group
    struct stat stDir = {};
    const gid_t nNewGroup =
        fstat(m_nDirFd, &stDir) == 0 && (stDir.st_mode & S_ISGID) ? stDir.st_gid : getegid();
    return st.st_uid != geteuid() || st.st_gid != nNewGroup;
}

void CPosixFile::OpenForWriting()
{
    STargetFacts facts;
    std::string strTarget;
    int nAliasFd = -1;
    if (const int nErrno = ResolveLinks(m_strFileName, strTarget, nAliasFd))
        FailOs(nErrno, true);
    facts.bOwnDescriptor = nAliasFd >= 0;
    // The kernel follows the links, as for any program that opens the name,
    // so a link it refuses to follow (protected_symlinks) is refused here
    // too; the links were followed by hand only to find the folder.
    struct stat st = {};
    if (!facts.bOwnDescriptor)
    {
        facts.bExists = stat(m_strFileName.c_str(), &st) == 0;
        if (!facts.bExists && errno != ENOENT)
            FailOs(errno, true);
        if (facts.bExists && S_ISDIR(st.st_mode))
            FailOs(EISDIR);
        facts.bRegular = !facts.bExists || S_ISREG(st.st_mode);
    }
    m_strategy = ChooseSaveStrategy(facts);
    if (m_strategy == ESaveStrategy::writeWhereItStands)
    {
        if (facts.bOwnDescriptor)
            return OpenAlias(nAliasFd);
        // A device or a pipe, opened with O_CREAT as a shell's ">" does.
        // O_NONBLOCK makes a pipe without a reader fail at once.
        m_nFd = open(m_strFileName.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK,
                     0666);
        if (m_nFd < 0)
            FailOs(errno, true);
        if (m_bLock)
            Lock(m_nFd, LOCK_EX);
        return;
    }
    OpenFolder(strTarget);
    if (facts.bExists)
    {
        OpenExisting(st);
        facts.bIdentityWouldChange = IdentityWouldChange(st);
    }
    facts.bUnnamedTemporaries = VELKOR_LINUX_FILE_CALLS != 0;
    while ((m_strategy = ChooseSaveStrategy(facts)) !=
           ESaveStrategy::rewriteInPlaceAfterRecoveryCopy)
        if (CreateTemp(facts))
            break;
    if (m_strategy == ESaveStrategy::rewriteInPlaceAfterRecoveryCopy)
        m_nFd = std::exchange(m_nLockFd, -1);
    else if (facts.bExists)
    {
        // Owner first: changing it may clear set-id bits that fchmod restores.
        // Only root gets here with a file of another owner or group.
        if (st.st_uid != geteuid() || st.st_gid != getegid())
            (void)!fchown(m_nFd, st.st_uid, st.st_gid);
        (void)!fchmod(m_nFd, st.st_mode & 07777);
    }
}

// A temporary file of the chosen strategy; false with a fact changed when
// the system or the folder cannot make one.
bool CPosixFile::CreateTemp(STargetFacts& facts)
{
#if VELKOR_LINUX_FILE_CALLS
    if (m_strategy == ESaveStrategy::replaceThroughUnnamedTemporary)
    {
        m_nFd = openat(m_nDirFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        // Locked while the save lives: the next save removes only names
        // that nobody holds, and this one gets a name only at the end.
        if (m_nFd >= 0)
            return flock(m_nFd, LOCK_EX | LOCK_NB), true;
        if (!IsCreationRefused(errno) && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            FailOs(errno, true);
        facts.bUnnamedTemporaries = false;
        facts.bFolderTakesNewFiles = !IsCreationRefused(errno);
        if (!facts.bFolderTakesNewFiles && !facts.bExists)
            FailOs(errno, true);
        return false;
    }
#endif
    // A hidden named one, removed on every failure. No interrupt may come
    // between its creation and its cleanup's record.
    const CSignalBlock block;
    m_nFd = CreateNamedTemp(m_nDirFd, m_strBase, m_strTemp);
    if (m_nFd >= 0)
    {
        SetCleanup(m_nDirFd, m_strTemp);
        return true;
    }
    if (errno == EEXIST)
        FailNoTempName();
    if (!IsCreationRefused(errno) || !facts.bExists)
        FailOs(errno, true);
    facts.bFolderTakesNewFiles = false; // the file can still change in place
    return false;
}

std::size_t CPosixFile::Read(void* pBuffer, std::size_t nCount)
{
    auto* pBytes = static_cast<char*>(pBuffer);
    std::size_t nDone = 0;
    while (nDone < nCount)
    {
        const ssize_t nRead =
            read(m_nFd, pBytes + nDone, std::min<std::size_t>(nCount - nDone, SSIZE_MAX));
        if (nRead < 0 && errno == EINTR)
            continue;
        if (nRead < 0)
            FailOs(errno);
        if (nRead == 0)
            break;
        nDone += static_cast<std::size_t>(nRead);
    }
    return nDone;
}

void CPosixFile::WriteOut(const char* pBytes, std::size_t nCount)
{
    if (const int nErrno = WriteAll(m_nFd, pBytes, nCount))
        FailOs(nErrno);
}

// The old content goes to a new file of this save's own, created
// exclusively under a random name, given the file's owner, group and mode
// where this user may, synced, and then renamed over the recovery copy's
// name: whatever stood there (a copy older than the file, or a half-written
// one) is replaced, and a copy under that name is always complete.
int CPosixFile::CopyAside(const std::string& strOld, std::string& strName)
{
    const int nFd = CreateNamedTemp(m_nDirFd, m_strBase, strName);
    if (nFd < 0)
        return -1; // the folder takes no new file
    if (fchown(nFd, m_stTarget.st_uid, m_stTarget.st_gid) != 0)
        (void)!fchown(nFd, static_cast<uid_t>(-1), m_stTarget.st_gid);
    struct stat st = {};
    const bool bGroup = fstat(nFd, &st) == 0 && st.st_gid == m_stTarget.st_gid;
    // Readable by whoever may read the file, and no one else.
    (void)!fchmod(nFd, m_stTarget.st_mode & (bGroup ? 0666 : 0606));
    if (WriteAll(nFd, strOld.data(), strOld.size()) != 0 ||
        (m_bSync && fsync(nFd) != 0 && !IsSyncUnsupported(errno)) || fstat(nFd, &m_stCopy) != 0)
    {
        close(nFd);
        unlinkat(m_nDirFd, strName.c_str(), 0);
        return -1;
    }
    return nFd;
}

bool CPosixFile::KeepRecoveryCopy(const std::string& strOld)
{
    std::string strTemp;
    const int nFd = CopyAside(strOld, strTemp);
    if (nFd < 0)
        return false;
    const std::string strName = RecoveryName(m_strBase);
    struct stat stNamed = {};
    const bool bPlaced = renameat(m_nDirFd, strTemp.c_str(), m_nDirFd, strName.c_str()) == 0;
    // Checked by identity: the name leads to the copy this save made.
    m_bCopy = bPlaced && fstatat(m_nDirFd, strName.c_str(), &stNamed, AT_SYMLINK_NOFOLLOW) == 0 &&
              IsSame(stNamed, m_stCopy);
    if (!bPlaced)
        unlinkat(m_nDirFd, strTemp.c_str(), 0);
    close(nFd);
    if (!m_bCopy)
    {
        // Another user's file holds the name (a sticky folder): it is never
        // taken for the copy, and the file is not rewritten without one.
        CFileException e(CFileException::accessDenied, m_strFileName);
        e.AppendToMessage(FormatFileText(IDS_FILE_RECOVERY_NAME_TAKEN, {m_strDir + "/" + strName}));
        Abort();
        throw e;
    }
    if (m_bSync)
        (void)fsync(m_nDirFd);
    return true;
}

void CPosixFile::RemoveRecoveryCopy()
{
    const std::string strName = RecoveryName(m_strBase);
    struct stat st = {};
    if (m_nDirFd < 0 || fstatat(m_nDirFd, strName.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return;
    // This save's copy; after a replacement, one a save of this user or of
    // the file's owner left (the complete new file replaced a torn one).
    const bool bOurs =
        m_bCopy ? IsSame(st, m_stCopy)
                : S_ISREG(st.st_mode) && (st.st_uid == geteuid() || st.st_uid == m_stTarget.st_uid);
    if (bOurs)
        unlinkat(m_nDirFd, strName.c_str(), 0);
    m_bCopy = false;
}

CFileBackend::OsError CPosixFile::ReserveRoom(std::size_t nSize)
{
    struct stat st = {};
    const std::size_t nOld = fstat(m_nFd, &st) == 0 ? static_cast<std::size_t>(st.st_size) : 0;
    const int nErrno = Reserve(m_nFd, nSize, nOld);
    return nErrno < 0 ? CANNOT_RESERVE : static_cast<OsError>(nErrno);
}

CFileBackend::OsError CPosixFile::Rewrite(const std::string& strBytes, bool bSync)
{
    int nErrno = WriteAll(m_nFd, strBytes.data(), strBytes.size(), 0);
    if (nErrno == 0 && ftruncate(m_nFd, static_cast<off_t>(strBytes.size())) != 0)
        nErrno = errno;
    if (nErrno == 0 && bSync && fsync(m_nFd) != 0 && !IsSyncUnsupported(errno))
        nErrno = errno;
    return static_cast<OsError>(nErrno);
}

void CPosixFile::HoldInterrupts(bool bHold)
{
    if (!bHold)
    {
        pthread_sigmask(SIG_SETMASK, &m_oldMask, nullptr);
        return;
    }
    sigset_t set;
    sigemptyset(&set);
    for (const int nSignal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT})
        sigaddset(&set, nSignal);
    pthread_sigmask(SIG_BLOCK, &set, &m_oldMask);
}

#if VELKOR_LINUX_FILE_CALLS
// The unnamed file gets a random name of its own just before the rename;
// it is locked from its creation, so no cleanup takes it meanwhile.
void CPosixFile::LinkUnnamed()
{
    const std::string strProc = "/proc/self/fd/" + std::to_string(m_nFd);
    for (int nAttempt = 0; nAttempt < 100; ++nAttempt)
    {
        const std::string strTemp = RandomTempName(m_strBase);
        int nResult = linkat(m_nFd, "", m_nDirFd, strTemp.c_str(), AT_EMPTY_PATH);
        if (nResult != 0 && errno != EEXIST) // AT_EMPTY_PATH needs a privilege
            nResult =
                linkat(AT_FDCWD, strProc.c_str(), m_nDirFd, strTemp.c_str(), AT_SYMLINK_FOLLOW);
        if (nResult == 0)
        {
            m_strTemp = strTemp;
            SetCleanup(m_nDirFd, m_strTemp);
            return;
        }
        if (errno != EEXIST)
            FailOs(errno);
    }
    FailNoTempName();
}
#else
void CPosixFile::LinkUnnamed()
{
    FailOs(EOPNOTSUPP);
}
#endif

void CPosixFile::PutInPlace()
{
    if (m_bSync && fsync(m_nFd) != 0 && !IsSyncUnsupported(errno))
        FailOs(errno);
    // Between link and rename the file has a name: no interrupt may end the
    // process there. SIGKILL cannot be held off; the next save of the file
    // removes what a kill left.
    const CSignalBlock block;
    int nHold = -1; // keeps the temporary file's lock until it is renamed
    if (m_strategy == ESaveStrategy::replaceThroughUnnamedTemporary)
        LinkUnnamed();
    else
    {
#if VELKOR_LINUX_FILE_CALLS
        // Closed first, so that a late write error still stops the
        // replacement; a second descriptor of the same open file keeps it
        // locked, so a concurrent save's cleanup leaves it alone.
        nHold = fcntl(m_nFd, F_DUPFD_CLOEXEC, 3);
        if (close(std::exchange(m_nFd, nHold)) != 0 && errno != EINTR)
            FailOs(errno);
#endif
    }
    if (renameat(m_nDirFd, m_strTemp.c_str(), m_nDirFd, m_strBase.c_str()) != 0)
        FailOs(errno);
    m_strTemp.clear();
    ClearCleanup();
    // A named file still open here (the portable build) reports a late
    // write error now; the unnamed one's content was in place already.
    const bool bCheck = nHold < 0 && m_strategy == ESaveStrategy::replaceThroughNamedTemporary;
    const int nFd = std::exchange(m_nFd, -1);
    if (close(nFd) != 0 && errno != EINTR && bCheck)
        FailOs(errno);
    // Make the rename itself durable; the file is complete either way.
    if (m_bSync)
        (void)fsync(m_nDirFd);
    RemoveRecoveryCopy();
    Abort();
}

void CPosixFile::CloseTarget()
{
    if (m_strategy == ESaveStrategy::writeWhereItStands && m_bSync && fsync(m_nFd) != 0 &&
        !IsSyncUnsupported(errno))
        FailOs(errno);
    const int nFd = std::exchange(m_nFd, -1);
    // Linux closes the descriptor even on EINTR.
    if (!m_bBorrowed && close(nFd) != 0 && errno != EINTR)
        FailOs(errno);
    Abort();
}

void CPosixFile::Abort() noexcept
{
    if (m_nFd >= 0 && !m_bBorrowed)
        close(m_nFd);
    if (!m_strTemp.empty() && m_nDirFd >= 0)
        unlinkat(m_nDirFd, m_strTemp.c_str(), 0);
    if (!m_strTemp.empty())
        ClearCleanup();
    if (m_nLockFd >= 0)
        close(m_nLockFd);
    if (m_nDirFd >= 0)
        close(m_nDirFd);
    m_nFd = m_nLockFd = m_nDirFd = -1;
    m_bBorrowed = false;
    m_strTemp.clear();
}
