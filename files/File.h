// The file object: one file opened by name over POSIX, with failures thrown as
// CFileException.
//
// A file is held without sharing while it is open: Velkor takes an exclusive
// flock on it and reports a lock held by another program as a sharing
// violation.
//
// Writing never damages the file that was there. The bytes go to a temporary
// file in the target's folder, which Close() syncs and renames over the
// target only when everything was written; a failure at any step removes the
// temporary file and leaves the old file as it was. The replacement keeps the
// old file's permission bits (and owner, where allowed) and writes through a
// symbolic link to the file it names. A target that exists but is not a
// regular file (a device such as /dev/stdout, a pipe) is written in place.
//
// Every message names the file by the path given to Open().
#pragma once

#include "files/FileException.h"

#include <cstddef>
#include <string>

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

    bool IsOpen() const { return m_nFd >= 0; }
    const std::string& GetFilePath() const { return m_strFileName; }

private:
    [[noreturn]] void Fail(CFileException::Cause cause);
    [[noreturn]] void FailErrno(int nErrno, bool bCreating = false);
    void Lock(int nFd);
    void OpenForReading();
    void OpenForWriting();
    void Release();

    std::string m_strFileName; // as given: the name every message shows
    std::string m_strTarget;   // the file a replacement renames onto
    std::string m_strTemp;     // the temporary file; empty when writing in place
    int m_nFd = -1;            // the descriptor read from or written to
    int m_nLockFd = -1;        // the replaced target, held locked meanwhile
    bool m_bWriting = false;
    bool m_bSync = true; // flush the file and its folder to the disk at Close()
};
