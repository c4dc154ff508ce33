// Inside the POSIX backend: the calls FilePosix.cpp builds on. With
// VELKOR_PORTABLE_POSIX (and on every system but Linux) nothing here uses a
// Linux-only call: no O_TMPFILE, O_PATH, fallocate, flistxattr or /proc.
#pragma once

#include <csignal>
#include <cstddef>
#include <string>

#include <sys/stat.h>
#include <sys/types.h>

#if defined(__linux__) && !defined(__EMSCRIPTEN__) && !defined(VELKOR_PORTABLE_POSIX)
#define VELKOR_LINUX_FILE_CALLS 1
#else
#define VELKOR_LINUX_FILE_CALLS 0
#endif

namespace posix_file
{
// Writes all bytes at the descriptor's position, or at nOffset when it is not
// negative. Returns 0 or an errno value; a write that stops without an error
// counts as a full disk. A full non-blocking pipe is waited for.
int WriteAll(int nFd, const char* pBytes, std::size_t nCount, off_t nOffset = -1);

// Reads the whole file from its start; false when it cannot be read.
bool ReadWhole(int nFd, std::string& strBytes);

// Failures of fsync that only say the file cannot be synced.
bool IsSyncUnsupported(int nErrno);

// The folder refuses a new file (permissions, a read-only mount).
bool IsCreationRefused(int nErrno);

// The same file: device and inode.
inline bool IsSame(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Follows symbolic links from strName to the name of the file they lead to,
// which may not exist yet. Returns 0 or an errno value; nAliasFd is set when
// the chain reaches one of our open descriptors, which is written in place.
int ResolveLinks(const std::string& strName, std::string& strTarget, int& nAliasFd);

// A hidden temporary name beside strBase that nobody can guess:
// ".plan.vlk.<16 random letters and digits>.velkor-tmp".
std::string RandomTempName(const std::string& strBase);

// The copy of the old content kept while a file is rewritten in place:
// ".plan.vlk.velkor-backup".
std::string RecoveryName(const std::string& strBase);

// Creates a new hidden temporary file beside strBase under a random name
// (O_EXCL, retried), locked from its first moment it can be: returns its
// descriptor and sets strName, or -1 with errno set. A name taken by a
// concurrent save is never touched.
int CreateNamedTemp(int nDirFd, const std::string& strBase, std::string& strName);

// Removes the temporary files of strBase that saves killed before they
// finished left in the folder. A live save holds a lock on its temporary
// file, checked after it is opened, so only the abandoned ones are removed.
void RemoveAbandonedTemporaries(int nDirFd, const std::string& strBase);

// Extended attributes or ACLs beyond the security label every new file gets
// anyway. The portable build cannot tell and answers false.
bool HasExtendedAttributes(int nFd);

// Reserves the disk space of nSize bytes from the start of a file of
// nOldSize bytes without changing its content. 0, an errno value, or -1
// where the file system cannot reserve.
int Reserve(int nFd, std::size_t nSize, std::size_t nOldSize);

// The named temporary file that a terminating signal removes.
void SetCleanup(int nDirFd, const std::string& strName);
void ClearCleanup();

// Holds off terminating signals while it lives, so that an interrupt
// cannot come between a temporary file's creation and its cleanup's record.
class CSignalBlock
{
public:
    CSignalBlock();
    ~CSignalBlock();
    CSignalBlock(const CSignalBlock&) = delete;
    CSignalBlock& operator=(const CSignalBlock&) = delete;

private:
    sigset_t m_old;
};
} // namespace posix_file
