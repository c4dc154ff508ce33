// The file object: one file opened by name over POSIX, with failures thrown as
// CFileException.
//
// Locks: a reader holds a shared flock, a writer an exclusive one, so two
// readers never collide and a lock held by another program against ours is
// reported as a sharing violation. Nothing ever waits: a pipe or socket
// (anything that would wait for a peer) is refused at once.
//
// Writing never damages the file that was there. Where replacing the file
// changes nothing about it, the bytes go to an unnamed temporary file in the
// target's folder (a hidden named one, ".plan.vlk.<pid>.velkor-tmp", where
// the file system has no unnamed files), which Close() syncs, links and
// renames over the target only when everything was written; a kill at any
// moment leaves the old or the new file, and at most that name, which the
// next save of the file removes. Where a replacement would change the
// file's identity (hard links, owner, group, ACLs or extended attributes) or
// the folder cannot take a new file, the file is rewritten in place instead:
// its old content is first copied to ".plan.vlk.velkor-backup" beside it
// (when the folder takes the copy) and the room for the new content is
// reserved, so a kill leaves the old file, the new one or the old content in
// that copy, and a full disk or a failure puts the old content back. A file
// that can be neither read nor reserved is not rewritten at all.
//
// Names are opened as the kernel opens them for any program, so a link it
// refuses to follow (fs.protected_symlinks) or a file it refuses to open
// with O_CREAT (fs.protected_regular) is refused with access denied. A
// target that is not a regular file (a device, a pipe with a reader) and
// this process's own descriptors (/dev/stdout, /dev/fd/N, /proc/self/fd/N)
// are written where they stand, never truncated.
//
// Every message names the file by the path given to Open().
#pragma once

#include "files/FileException.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class CFile
{
public:
    enum OpenMode
    {
        modeRead,   // an existing file, read from its start
        modeCreate, // created, or replaced when it exists; written from empty
        // As modeCreate, without waiting for the disk: for reports, which can
        // always be made again. The replacement is still all or nothing.
        modeCreateNoSync,
        // As modeCreateNoSync, without the lock: other programs may have the
        // file open meanwhile (the text report).
        modeCreateShared,
    };

    CFile() = default;
    CFile(const std::string& strFileName, OpenMode mode) { Open(strFileName, mode); }
    // An open file is abandoned: an unfinished write leaves the target as it was.
    ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    void Open(const std::string& strFileName, OpenMode mode);
    // Reads until nCount bytes arrived or the file ended; returns the count.
    std::size_t Read(void* pBuffer, std::size_t nCount);
    // Writes all nCount bytes; a write the system completes only in part is a
    // full disk.
    void Write(const void* pBuffer, std::size_t nCount);
    // Ends the file. After writing, this is where the new content replaces
    // the target, so its failures matter as much as those of Write().
    void Close();
    // Closes without finishing a write and without throwing.
    void Abort();

    bool IsOpen() const; // below: it depends on the backend
    const std::string& GetFilePath() const { return m_strFileName; }

private:
#ifdef _WIN32
    // The Win32 backend (FileWin32.cpp): share modes instead of locks, a
    // temporary file renamed over the target (ReplaceWin32.cpp).
    [[noreturn]] void Fail(CFileException::Cause cause);
    [[noreturn]] void FailLastError(unsigned long nError, bool bCreating = false);
    void OpenForReading();
    void OpenForWriting();
    void CloseInPlace();
    void Release();

    std::string m_strFileName; // as given: the name every message shows
    std::wstring m_strTarget;  // the target's full path as the API takes it
    std::wstring m_strTemp;    // the temporary file beside it, if any
    std::string m_strBuffer;   // the new content of a file rewritten in place
    void* m_hFile = nullptr;   // the handle read from or written to
    void* m_hLock = nullptr;   // the existing target, held unshared meanwhile
    bool m_bWriting = false;
    bool m_bInPlace = false;
    bool m_bExists = false; // the target existed and is held by m_hLock
    bool m_bSync = true;
    bool m_bLock = true;
#else
    [[noreturn]] void Fail(CFileException::Cause cause, int nOsError = 0,
                           const char* pszKind = nullptr);
    [[noreturn]] void FailErrno(int nErrno, bool bCreating = false);
    void Lock(int nFd, int nOperation);
    void OpenForReading();
    void OpenForWriting();
    void OpenAlias(int nAliasFd);
    bool CreateTemp();
    void LinkTemp();
    void CloseInPlace();
    bool KeepRecoveryCopy(const std::string& strOld);
    void RemoveRecoveryCopy();
    void Release();

    std::string m_strFileName; // as given: the name every message shows
    std::string m_strBase;     // the target's name in its folder
    std::string m_strTemp;     // a named temporary file in the folder, if any
    std::string m_strBuffer;   // the new content of a file rewritten in place
    int m_nFd = -1;            // the descriptor read from or written to
    int m_nLockFd = -1;        // the existing target, held locked meanwhile
    int m_nDirFd = -1;         // the target's folder
    bool m_bWriting = false;
    bool m_bInPlace = false; // rewrite m_nLockFd at Close() from m_strBuffer
    bool m_bReplace = false; // m_nFd is a temporary file to put over the target
    bool m_bSync = true;     // flush the file and its folder to the disk at Close()
    bool m_bLock = true;     // hold the target locked while writing
#endif
};

#ifdef _WIN32
inline bool CFile::IsOpen() const
{
    return m_hFile != nullptr;
}
#else
inline bool CFile::IsOpen() const
{
    return m_nFd >= 0;
}
#endif

// Writes all nCount bytes to an open descriptor, waiting while a
// non-blocking pipe is full. Failures throw CFileException naming strName.
void WriteToDescriptor(int nFd, const void* pBuffer, std::size_t nCount,
                       const std::string& strName);

// True when both paths exist and lead to the same file (same device and
// inode, or volume and file index on Windows, through any link or name).
// "/dev/stdout" stands for standard output on every system.
bool IsSameFile(const std::string& strPath1, const std::string& strPath2);

// The copy of its old content that a rewrite in place killed part-way left
// beside the file strPath (".plan.vlk.velkor-backup"); empty when there is
// none.
std::string GetRecoveryCopyPath(const std::string& strPath);

// What makes a file itself: device and inode, or volume and file index on
// Windows. Nothing when strPath cannot be reached.
using FileId = std::pair<std::uint64_t, std::uint64_t>;
std::optional<FileId> GetFileId(const std::string& strPath);

// The index of the first of candidates that is the same file as strPath
// (IsSameFile: through any link or name); -1 for none.
inline int FindSameFile(const std::string& strPath, const std::vector<std::string>& candidates)
{
    if (!GetFileId(strPath))
        return -1;
    for (std::size_t i = 0; i < candidates.size(); ++i)
        if (IsSameFile(strPath, candidates[i]))
            return static_cast<int>(i);
    return -1;
}

// Makes SIGINT, SIGTERM and SIGHUP (Windows: Ctrl+C, Ctrl+Break and closing
// the console) remove a named temporary file that a write has open at that
// moment before the process ends as the signal asks. For command-line
// programs; call once at start-up.
void InstallTemporaryFileCleanup();
