// The file object: one file opened by name, with failures thrown as
// CFileException. The interface is the same on every system; each backend
// (FilePosix.cpp, FileWin32.cpp) keeps its handles to itself.
//
// Locks: a reader holds a shared lock, a writer an exclusive one, so two
// readers never collide and a lock held by another program against ours is
// reported as a sharing violation. Nothing ever waits: a pipe or socket
// (anything that would wait for a peer) is refused at once.
//
// Writing never damages the file that was there. Opening for writing
// chooses one of four save strategies (FileBackend.h): the new content goes
// to a temporary file in the target's folder, unnamed where the system has
// unnamed files, else a hidden one with an unpredictable name
// (".plan.vlk.<random>.velkor-tmp"), which Close() renames over the target
// only when everything was written; a kill at any moment leaves the old or
// the new file, and at most that hidden name, which the next save of the
// file removes. Where a replacement would change the file's identity (hard
// links, owner, group, ACLs or extended attributes) or the folder cannot
// take a new file, the file is rewritten in place instead: its old content
// is first copied to a recovery copy beside it that this save made itself
// (".plan.vlk.velkor-backup", when the folder takes it) and the room for
// the new content is reserved, so a kill leaves the old file, the new one
// or the old content in that copy, and a full disk or a failure puts the
// old content back. A file that can be neither read nor reserved is not
// rewritten at all. A device, a pipe with a reader and this process's own
// descriptors (/dev/stdout, /dev/fd/N, /proc/self/fd/N) are written where
// they stand, never truncated.
//
// Names are opened as the system opens them for any program, so a link it
// refuses to follow (fs.protected_symlinks) or a file it refuses to open
// with O_CREAT (fs.protected_regular) is refused with access denied.
//
// Every message names the file by the path given to Open().
#pragma once

#include "files/FileException.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class CFileBackend;

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
        // file open, or locked, meanwhile (the text report).
        modeCreateShared,
    };

    CFile();
    CFile(const std::string& strFileName, OpenMode mode);
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

    bool IsOpen() const;
    const std::string& GetFilePath() const { return m_strFileName; }
    // The name of the save strategy chosen when the file was opened for
    // writing ("replace through an unnamed temporary", ...); empty otherwise.
    const char* GetSaveStrategyName() const;

private:
    std::string m_strFileName;             // as given: the name every message shows
    std::unique_ptr<CFileBackend> m_pFile; // the backend's state
};

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
// (the same FileId, through any link or name); -1 for none.
inline int FindSameFile(const std::string& strPath, const std::vector<std::string>& candidates)
{
    const auto id = GetFileId(strPath);
    if (!id)
        return -1;
    for (std::size_t i = 0; i < candidates.size(); ++i)
        if (GetFileId(candidates[i]) == id)
            return static_cast<int>(i);
    return -1;
}

// Makes SIGINT, SIGTERM and SIGHUP (Windows: Ctrl+C, Ctrl+Break and closing
// the console) remove a named temporary file that a write has open at that
// moment before the process ends as the signal asks. For command-line
// programs; call once at start-up.
void InstallTemporaryFileCleanup();
