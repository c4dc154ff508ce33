// The Win32 backend of the file object (File.h). Readers share the file with
// other readers and keep writers out; a writer keeps everyone out. A write
// goes to a temporary file in the target's folder that replaces the target
// in one rename only when complete (ReplaceWin32.cpp), with the old file's
// attributes and permissions; the temporary files a killed save left go at
// the next save. A file that a new one would not fully replace (hard links,
// named streams, permissions that cannot be carried over) is rewritten in
// place after a recovery copy of its old content (".plan.vlk.velkor-backup"
// beside it, removed once the rewrite is complete). A symbolic link is
// written through: its target is replaced, the link stays. Paths are UTF-8 here and UTF-16
// at the API; every message names the file by the path given to Open().
#include "files/File.h"
#include "files/FileBackend.h"
#include "files/Path.h"
#include "files/ReplaceWin32.h"
#include "files/Win32.h"

#include <io.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <random>
#include <utility>

namespace
{
// The temporary file a console event removes: its path while it exists.
wchar_t g_szCleanup[32768 + 64];
std::atomic<bool> g_bCleanup{false};

void SetCleanup(const std::wstring& strPath)
{
    g_bCleanup = false;
    const std::size_t n = std::min(strPath.size(), std::size(g_szCleanup) - 1);
    std::wmemcpy(g_szCleanup, strPath.data(), n);
    g_szCleanup[n] = L'\0';
    g_bCleanup = true;
}

void ClearCleanup()
{
    g_bCleanup = false;
}

BOOL WINAPI OnConsoleEvent(DWORD)
{
    if (g_bCleanup.exchange(false))
        DeleteFileW(g_szCleanup);
    return FALSE; // the default handler ends the process
}

HANDLE AsHandle(void* p)
{
    return static_cast<HANDLE>(p);
}

// The recovery copy of a file rewritten in place: ".plan.vlk.velkor-backup".
std::wstring RecoveryCopyOf(const std::wstring& strTarget)
{
    const auto nSlash = strTarget.find_last_of(L"\\/");
    return strTarget.substr(0, nSlash + 1) + L"." + strTarget.substr(nSlash + 1) +
           L".velkor-backup";
}

// A name for a temporary file beside strTarget; never longer than a name may be.
std::wstring TempPath(const std::wstring& strTarget)
{
    static std::mt19937 s_random(static_cast<unsigned>(
        std::random_device{}() ^ GetCurrentProcessId() ^
        static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count())));
    static const wchar_t s_szChars[] = L"abcdefghijklmnopqrstuvwxyz0123456789";
    std::wstring strSuffix = L".";
    for (int i = 0; i < 8; ++i)
        strSuffix += s_szChars[s_random() % (std::size(s_szChars) - 1)];
    strSuffix += L".tmp";
    return TempPrefix(strTarget) + strSuffix;
}

// Writes all bytes at the handle's position. Returns 0 or a Win32 error; a
// write that stops without an error counts as a full disk.
DWORD WriteAll(HANDLE hFile, const char* pBytes, std::size_t nCount)
{
    while (nCount > 0)
    {
        const DWORD nChunk = static_cast<DWORD>(std::min<std::size_t>(nCount, 1u << 30));
        DWORD nWritten = 0;
        if (!WriteFile(hFile, pBytes, nChunk, &nWritten, nullptr))
            return GetLastError();
        if (nWritten == 0)
            return ERROR_DISK_FULL;
        pBytes += nWritten;
        nCount -= nWritten;
    }
    return 0;
}

// Locks the whole file, shared for a reader or exclusive for a writer, as
// the POSIX backend does with flock: a program that locked any part of it
// against us is a locking violation (error 33). File systems without locks
// go on unlocked. The lock ends with the handle.
DWORD LockWhole(HANDLE hFile, bool bExclusive)
{
    OVERLAPPED overlapped = {};
    const DWORD nFlags = LOCKFILE_FAIL_IMMEDIATELY | (bExclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
    if (LockFileEx(hFile, nFlags, 0, MAXDWORD, MAXDWORD, &overlapped))
        return 0;
    const DWORD nError = GetLastError();
    return nError == ERROR_LOCK_VIOLATION || nError == ERROR_IO_PENDING ? ERROR_LOCK_VIOLATION : 0;
}

bool Rewind(HANDLE hFile)
{
    LARGE_INTEGER zero = {};
    return SetFilePointerEx(hFile, zero, nullptr, FILE_BEGIN) != 0;
}

// Reads the whole file from its start; false when it cannot be read.
bool ReadWhole(HANDLE hFile, std::string& strBytes)
{
    if (!Rewind(hFile))
        return false;
    char buffer[8192];
    for (;;)
    {
        DWORD nRead = 0;
        if (!ReadFile(hFile, buffer, sizeof buffer, &nRead, nullptr))
            return GetLastError() == ERROR_HANDLE_EOF;
        if (nRead == 0)
            return true;
        strBytes.append(buffer, nRead);
    }
}

// Writes strBytes as the whole content of the file.
DWORD RewriteHandle(HANDLE hFile, const std::string& strBytes)
{
    if (!Rewind(hFile))
        return GetLastError();
    if (const DWORD nError = WriteAll(hFile, strBytes.data(), strBytes.size()))
        return nError;
    return SetEndOfFile(hFile) ? 0 : GetLastError();
}

class CWin32File final : public CFileBackend
{
public:
    using CFileBackend::CFileBackend;
    ~CWin32File() override { Abort(); }

    bool IsOpen() const override { return m_hFile != nullptr; }
    void OpenForReading() override;
    void OpenForWriting() override;
    std::size_t Read(void* pBuffer, std::size_t nCount) override;
    void WriteOut(const char* pBytes, std::size_t nCount) override;
    bool ReadOldContent(std::string& strOld) override
    {
        return ReadWhole(AsHandle(m_hFile), strOld);
    }
    bool KeepRecoveryCopy(const std::string& strOld) override;
    void RemoveRecoveryCopy() override;
    OsError ReserveRoom(std::size_t nSize) override;
    OsError Rewrite(const std::string& strBytes, bool bSync) override;
    void HoldInterrupts(bool) override {}
    void PutInPlace() override;
    void CloseTarget() override;
    void Abort() noexcept override;
    [[noreturn]] void FailOs(OsError nError, bool bCreating = false) override
    {
        Fail(CFileException::CauseFromWin32Error(nError, bCreating));
    }

private:
    void OpenExisting(DWORD nAttributes);
    std::wstring RecoveryCopyPath() const;
    bool CreateTemp(STargetFacts& facts);

    std::wstring m_strTarget; // the target's full path as the API takes it, links followed
    std::wstring m_strTemp;   // the temporary file beside it, if any
    void* m_hFile = nullptr;  // the handle read from or written to
    void* m_hLock = nullptr;  // the existing target, held unshared meanwhile
    SKeptIdentity m_kept;     // what the new file takes over from the old one
    bool m_bExists = false;   // the target existed
    bool m_bCopy = false;     // this save made the recovery copy
};
} // namespace

std::unique_ptr<CFileBackend> MakeFileBackend(const std::string& strFileName)
{
    return std::make_unique<CWin32File>(strFileName);
}

void CWin32File::OpenForReading()
{
    m_strTarget = GetApiPath(m_strFileName);
    if (m_strTarget.empty())
        Fail(CFileException::badPath);
    const HANDLE hFile = CreateFileW(m_strTarget.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        FailOs(GetLastError());
    m_hFile = hFile;
    // Pipes and consoles would wait for someone else's bytes.
    if (GetFileType(hFile) != FILE_TYPE_DISK)
        Fail(CFileException::accessDenied);
    if (const DWORD nError = LockWhole(hFile, false))
        FailOs(nError);
}

// Opening the old file for writing asks whether we may change it at all (a
// read-only file may not be), and keeps every other program out until it is
// replaced; only the rename's delete is let in. Through a link, the link's
// target is replaced beside itself; a link that cannot be followed so is not
// replaced at all.
void CWin32File::OpenExisting(DWORD nAttributes)
{
    const DWORD nShare =
        m_bLock ? FILE_SHARE_DELETE : FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    const HANDLE hLock = CreateFileW(m_strTarget.c_str(), GENERIC_READ | GENERIC_WRITE, nShare,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hLock == INVALID_HANDLE_VALUE)
    {
        const DWORD nError = GetLastError();
        if (nAttributes & FILE_ATTRIBUTE_REPARSE_POINT && nError == ERROR_FILE_NOT_FOUND)
            Fail(CFileException::accessDenied); // a link that leads nowhere
        FailOs(nError, true);
    }
    m_hLock = hLock;
    if (GetFileType(hLock) != FILE_TYPE_DISK)
        Fail(CFileException::accessDenied);
    if (const DWORD nError = m_bLock ? LockWhole(hLock, true) : 0)
        FailOs(nError);
    if (std::wstring strFinal = GetFinalPath(hLock); !strFinal.empty())
        m_strTarget = std::move(strFinal);
    else if (nAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
        Fail(CFileException::accessDenied);
}

void CWin32File::OpenForWriting()
{
    m_strTarget = GetApiPath(m_strFileName);
    if (m_strTarget.empty())
        Fail(CFileException::badPath);
    const DWORD nAttributes = GetFileAttributesW(m_strTarget.c_str());
    if (nAttributes == INVALID_FILE_ATTRIBUTES)
    {
        const DWORD nError = GetLastError();
        if (nError != ERROR_FILE_NOT_FOUND)
            FailOs(nError, true);
        if (IsDanglingLink(m_strTarget)) // the save could only replace the link
            Fail(CFileException::accessDenied);
    }
    else if (nAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))
        Fail(CFileException::accessDenied); // the rename would replace a read-only file
    STargetFacts facts;
    facts.bExists = m_bExists = nAttributes != INVALID_FILE_ATTRIBUTES;
    if (m_bExists)
    {
        OpenExisting(nAttributes);
        // A new file would lose the other names of the file, or its streams.
        BY_HANDLE_FILE_INFORMATION info = {};
        facts.bIdentityWouldChange =
            (GetFileInformationByHandle(AsHandle(m_hLock), &info) && info.nNumberOfLinks > 1) ||
            !ReadKeptIdentity(AsHandle(m_hLock), m_strTarget, m_kept);
    }
    RemoveStrayTemporaries(m_strTarget);
    while ((m_strategy = ChooseSaveStrategy(facts)) == ESaveStrategy::replaceThroughNamedTemporary)
        if (CreateTemp(facts))
            break;
    if (m_strategy == ESaveStrategy::rewriteInPlaceAfterRecoveryCopy)
        m_hFile = std::exchange(m_hLock, nullptr);
}

// A temporary file beside the target, shared for nothing but the rename
// that puts it in place; false with the fact changed when the folder takes
// no new file or the new file cannot take over the old one's identity.
bool CWin32File::CreateTemp(STargetFacts& facts)
{
    for (int nAttempt = 0;; ++nAttempt)
    {
        const std::wstring strTemp = TempPath(m_strTarget);
        const HANDLE hTemp =
            CreateFileW(strTemp.c_str(), GENERIC_WRITE | WRITE_DAC, FILE_SHARE_DELETE, nullptr,
                        CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (hTemp != INVALID_HANDLE_VALUE)
        {
            if (m_bExists && !GiveKeptIdentity(hTemp, m_kept))
            {
                CloseHandle(hTemp);
                DeleteFileW(strTemp.c_str());
                facts.bIdentityWouldChange = true;
                return false;
            }
            m_hFile = hTemp;
            m_strTemp = strTemp;
            SetCleanup(m_strTemp);
            return true;
        }
        const DWORD nError = GetLastError();
        if (nError == ERROR_ACCESS_DENIED && m_bExists)
        {
            facts.bFolderTakesNewFiles = false; // the file can still change in place
            return false;
        }
        if ((nError != ERROR_FILE_EXISTS && nError != ERROR_ALREADY_EXISTS) || nAttempt == 100)
            FailOs(nError, true);
    }
}

std::size_t CWin32File::Read(void* pBuffer, std::size_t nCount)
{
    auto* pBytes = static_cast<char*>(pBuffer);
    std::size_t nDone = 0;
    while (nDone < nCount)
    {
        const DWORD nChunk = static_cast<DWORD>(std::min<std::size_t>(nCount - nDone, 1u << 30));
        DWORD nRead = 0;
        if (!ReadFile(AsHandle(m_hFile), pBytes + nDone, nChunk, &nRead, nullptr))
        {
            const DWORD nError = GetLastError();
            if (nError == ERROR_HANDLE_EOF)
                break;
            FailOs(nError);
        }
        if (nRead == 0)
            break;
        nDone += nRead;
    }
    return nDone;
}

void CWin32File::WriteOut(const char* pBytes, std::size_t nCount)
{
    if (const DWORD nError = WriteAll(AsHandle(m_hFile), pBytes, nCount))
        FailOs(nError);
}

CFileBackend::OsError CWin32File::Rewrite(const std::string& strBytes, bool bSync)
{
    const HANDLE hFile = AsHandle(m_hFile);
    DWORD nError = RewriteHandle(hFile, strBytes);
    if (nError == 0 && bSync && !FlushFileBuffers(hFile))
        nError = GetLastError();
    return nError;
}

void CWin32File::PutInPlace()
{
    if (m_bSync && !FlushFileBuffers(AsHandle(m_hFile)))
        FailOs(GetLastError());
    if (m_hLock != nullptr)
        CloseHandle(AsHandle(std::exchange(m_hLock, nullptr))); // the rename replaces it
    if (const DWORD nError = ReplaceByRename(m_strTemp, m_strTarget, m_bSync))
        FailOs(nError);
    // Closed only now: until it has the target's name, no other save takes
    // it for a temporary file a killed save left.
    const bool bClosed = CloseHandle(AsHandle(std::exchange(m_hFile, nullptr)));
    // A copy that a killed rewrite left is of content the new file replaced.
    DeleteFileW(RecoveryCopyOf(m_strTarget).c_str());
    m_strTemp.clear();
    ClearCleanup();
    Abort();
    if (!bClosed) // a late write error: the file is in place, but not complete
        FailOs(GetLastError());
}

// Written whole to a temporary file first and renamed over the copy's name,
// so that the name never holds part of a copy, nor one of older content.
bool CWin32File::KeepRecoveryCopy(const std::string& strOld)
{
    const std::wstring strTemp = TempPath(m_strTarget);
    const HANDLE hCopy = CreateFileW(strTemp.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr,
                                     CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hCopy == INVALID_HANDLE_VALUE)
        return false;
    m_bCopy = WriteAll(hCopy, strOld.data(), strOld.size()) == 0 && FlushFileBuffers(hCopy) &&
              ReplaceByRename(strTemp, RecoveryCopyOf(m_strTarget), true) == 0;
    CloseHandle(hCopy);
    if (!m_bCopy)
        DeleteFileW(strTemp.c_str());
    return m_bCopy;
}

void CWin32File::RemoveRecoveryCopy()
{
    if (std::exchange(m_bCopy, false))
        DeleteFileW(RecoveryCopyOf(m_strTarget).c_str());
}

// The room is allocated without changing the file's size or content.
CFileBackend::OsError CWin32File::ReserveRoom(std::size_t nSize)
{
    FILE_ALLOCATION_INFO allocation = {};
    allocation.AllocationSize.QuadPart = static_cast<LONGLONG>(nSize);
    if (SetFileInformationByHandle(AsHandle(m_hFile), FileAllocationInfo, &allocation,
                                   sizeof allocation))
        return 0;
    const DWORD nError = GetLastError();
    return nError == ERROR_DISK_FULL || nError == ERROR_HANDLE_DISK_FULL ? nError : CANNOT_RESERVE;
}

void CWin32File::CloseTarget()
{
    Abort();
}

void CWin32File::Abort() noexcept
{
    if (m_hFile != nullptr)
        CloseHandle(AsHandle(m_hFile));
    if (m_hLock != nullptr)
        CloseHandle(AsHandle(m_hLock));
    m_hFile = nullptr;
    m_hLock = nullptr;
    if (!m_strTemp.empty())
    {
        DeleteFileW(m_strTemp.c_str());
        ClearCleanup();
    }
    m_strTemp.clear();
}

void WriteToDescriptor(int nFd, const void* pBuffer, std::size_t nCount, const std::string& strName)
{
    // Straight to the handle: no text-mode translation of line ends.
    const auto hFile = reinterpret_cast<HANDLE>(_get_osfhandle(nFd));
    const DWORD nError = hFile == INVALID_HANDLE_VALUE
                             ? ERROR_INVALID_HANDLE
                             : WriteAll(hFile, static_cast<const char*>(pBuffer), nCount);
    if (nError != 0)
        throw CFileException(CFileException::CauseFromWin32Error(nError), strName);
}

namespace
{
// A part of a file's identity that could not be read: it matches any.
constexpr std::uint64_t UNKNOWN_ID = ~std::uint64_t(0);

// The volume and file index of an open handle. Wine fails
// GetFileInformationByHandle on a redirected standard handle and knows no
// volume for it (0), but gives its file index through FileIdInfo.
FileId GetHandleId(HANDLE hFile)
{
    BY_HANDLE_FILE_INFORMATION info = {};
    if (GetFileInformationByHandle(hFile, &info) && info.dwVolumeSerialNumber != 0)
        return {info.dwVolumeSerialNumber,
                (std::uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
    FILE_ID_INFO id = {};
    if (!GetFileInformationByHandleEx(hFile, FileIdInfo, &id, sizeof id))
        return {UNKNOWN_ID, UNKNOWN_ID};
    std::uint64_t nIndex = 0;
    std::memcpy(&nIndex, id.FileId.Identifier, sizeof nIndex);
    return {id.VolumeSerialNumber != 0 ? id.VolumeSerialNumber : UNKNOWN_ID, nIndex};
}

bool Matches(std::uint64_t n1, std::uint64_t n2)
{
    return n1 == n2 || n1 == UNKNOWN_ID || n2 == UNKNOWN_ID;
}
} // namespace

// Standard output ("/dev/stdout") counts only when it is a file; one whose
// identity cannot be read matches every file, so that a report refuses
// rather than risk writing over its project.
std::optional<FileId> GetFileId(const std::string& strPath)
{
    if (strPath == "/dev/stdout")
    {
        const HANDLE hOut = GetStdHandle(STD_OUTPUT_HANDLE);
        if (hOut == nullptr || hOut == INVALID_HANDLE_VALUE)
            return std::nullopt;
        const DWORD nType = GetFileType(hOut);
        if (nType == FILE_TYPE_UNKNOWN && GetLastError() != NO_ERROR)
            return FileId{UNKNOWN_ID, UNKNOWN_ID};
        if (nType != FILE_TYPE_DISK)
            return std::nullopt; // a console or pipe is never a project
        return GetHandleId(hOut);
    }
    const std::wstring strApi = GetApiPath(strPath);
    if (strApi.empty())
        return std::nullopt;
    const HANDLE hFile =
        CreateFileW(strApi.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return std::nullopt;
    const FileId id = GetHandleId(hFile);
    CloseHandle(hFile);
    return id;
}

bool IsSameFile(const std::string& strPath1, const std::string& strPath2)
{
    const auto id1 = GetFileId(strPath1);
    const auto id2 = GetFileId(strPath2);
    return id1 && id2 && Matches(id1->first, id2->first) && Matches(id1->second, id2->second);
}

std::string GetRecoveryCopyPath(const std::string& strPath)
{
    const std::wstring strApi = GetApiPath(strPath);
    if (strApi.empty())
        return {};
    std::wstring strTarget = strApi;
    const HANDLE hFile =
        CreateFileW(strApi.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (hFile != INVALID_HANDLE_VALUE)
    {
        if (std::wstring strFinal = GetFinalPath(hFile); !strFinal.empty())
            strTarget = std::move(strFinal); // the copy is beside a link's target
        CloseHandle(hFile);
    }
    std::wstring strCopy = RecoveryCopyOf(strTarget);
    const DWORD nAttributes = GetFileAttributesW(strCopy.c_str());
    if (nAttributes == INVALID_FILE_ATTRIBUTES || nAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return {};
    // Shown as people write paths, without the prefix of the API's long form.
    if (strCopy.starts_with(L"\\\\?\\UNC\\"))
        strCopy = L"\\\\" + strCopy.substr(8);
    else if (strCopy.starts_with(L"\\\\?\\"))
        strCopy = strCopy.substr(4);
    return WideToUtf8(strCopy);
}

void InstallTemporaryFileCleanup()
{
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}
