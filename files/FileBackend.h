// Inside the file layer: the save strategies, the one function that chooses
// among them, and what every backend of CFile provides. File.cpp writes the
// sequences all backends share (opening, the in-place rewrite with its
// recovery copy, closing) over the steps declared here; FilePosix.cpp and
// FileWin32.cpp implement the steps with their own handles.
#pragma once

#include "files/FileException.h"
#include "files/FolderWalk.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// How a save puts its new content under the target's name.
enum class ESaveStrategy
{
    // An unnamed temporary file in the target's folder, given a name and
    // renamed over the target once complete (Linux: O_TMPFILE).
    replaceThroughUnnamedTemporary,
    // A hidden temporary file with an unpredictable name beside the target,
    // renamed over it once complete.
    replaceThroughNamedTemporary,
    // The target itself, rewritten from memory at Close() after its old
    // content went to a recovery copy and the room for the new one was
    // reserved: where a new file would change its identity, or the folder
    // takes no new file.
    rewriteInPlaceAfterRecoveryCopy,
    // The target itself, written as it stands and never truncated: a device,
    // a pipe, or one of this process's own descriptors.
    writeWhereItStands,
};

// "replace through an unnamed temporary", ...
const char* GetSaveStrategyName(ESaveStrategy strategy);

// What the backend found out about a target before choosing.
struct STargetFacts
{
    bool bExists = false;
    bool bRegular = true;              // a regular file, or nothing yet
    bool bOwnDescriptor = false;       // one of this process's open descriptors
    bool bIdentityWouldChange = false; // a new file would lose links, owner, ACLs...
    bool bFolderTakesNewFiles = true;  // a temporary file could be created
    bool bUnnamedTemporaries = false;  // the system and the folder offer them
};

// The one place the save strategy is decided. A backend asks again when a
// fact turns out otherwise (the folder refused the temporary file).
ESaveStrategy ChooseSaveStrategy(const STargetFacts& facts);

// One open file of a backend. The shared part keeps what every backend
// needs; the steps are the backend's.
class CFileBackend
{
public:
    // A system error: an errno value or a Win32 error code; 0 for none.
    using OsError = unsigned long;
    // ReserveRoom's answer where the file system cannot reserve.
    static constexpr OsError CANNOT_RESERVE = ~OsError(0);

    explicit CFileBackend(const std::string& strFileName) : m_strFileName(strFileName) {}
    virtual ~CFileBackend() = default;
    CFileBackend(const CFileBackend&) = delete;
    CFileBackend& operator=(const CFileBackend&) = delete;

    virtual bool IsOpen() const = 0;
    virtual void OpenForReading() = 0;
    // Opens the target or a temporary file and sets m_strategy.
    virtual void OpenForWriting() = 0;
    virtual std::size_t Read(void* pBuffer, std::size_t nCount) = 0;
    // Writes to the temporary file or the target as it stands.
    virtual void WriteOut(const char* pBytes, std::size_t nCount) = 0;

    // The steps of a rewrite in place, on the target.
    virtual bool ReadOldContent(std::string& strOld) = 0;
    // A copy of strOld beside the target that this save made; false when
    // none could be made.
    virtual bool KeepRecoveryCopy(const std::string& strOld) = 0;
    virtual void RemoveRecoveryCopy() = 0;
    virtual OsError ReserveRoom(std::size_t nSize) = 0;
    // The whole content from the start, cut to its size, synced when asked.
    virtual OsError Rewrite(const std::string& strBytes, bool bSync) = 0;
    // Holds off interrupts (signals, console events) while the file is torn.
    virtual void HoldInterrupts(bool bHold) = 0;

    // Syncs (when asked) and puts the temporary file over the target.
    virtual void PutInPlace() = 0;
    // Ends a write to the target as it stands or rewritten in place.
    virtual void CloseTarget() = 0;
    // Closes everything without throwing; a temporary file is removed.
    virtual void Abort() noexcept = 0;

    [[noreturn]] virtual void FailOs(OsError nError, bool bCreating = false) = 0;
    [[noreturn]] void Fail(CFileException::Cause cause, int nOsError = 0,
                           const char* pszKind = nullptr);

    // The sequence every backend shares: read the old content, keep it in a
    // recovery copy, reserve, rewrite, and put the old content back on a
    // failure.
    void RewriteInPlace();

    std::string m_strFileName; // as given: the name every message shows
    std::string m_strBuffer;   // the new content of a file rewritten in place
    ESaveStrategy m_strategy = ESaveStrategy::writeWhereItStands;
    bool m_bWriting = false;
    bool m_bSync = true; // flush the file (and its folder) to the disk at Close()
    bool m_bLock = true; // hold the target locked while writing
};

// One folder of WalkFolder (FolderWalk.h), the backend's: its matching
// files to onFile, its folders to folders, read and closed.
void ReadFolderForWalk(const std::string& strFolder, const char* pszExtension,
                       const std::function<void(const std::string&)>& onFile,
                       const FolderWalkError& onError, std::vector<std::string>& folders);

// The backend of this build, for the file strFileName.
std::unique_ptr<CFileBackend> MakeFileBackend(const std::string& strFileName);
