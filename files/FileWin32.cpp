// The Win32 backend of the file object (File.h). Readers share the file with
// other readers and keep writers out; a writer keeps everyone out. A write
// goes to a temporary file in the target's folder that replaces the target
// only when complete: ReplaceFileW for an existing file (which keeps its
// identity: ACLs, attributes, alternate streams), MoveFileExW for a new one.
// A file with more than one name (hard links) is rewritten in place, with
// its old content put back should that fail. Paths are UTF-8 here and UTF-16
// at the API; every message names the file by the path given to Open().
#include "files/File.h"
#include "files/FileBackend.h"
#include "files/Path.h"
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

    const auto nSlash = strTarget.find_last_of(L"\\/");
    const std::wstring strFolder = strTarget.substr(0, nSlash + 1);
    std::wstring strName = strTarget.substr(nSlash + 1);
    if (strName.size() + 1 + strSuffix.size() > 255)
        strName = L"velkor";
    return strFolder + L"~" + strName + strSuffix;
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
    // Replacing keeps no copy aside on Windows: the old content is put back
    // from memory should the rewrite fail.
    bool KeepRecoveryCopy(const std::string&) override { return false; }
    void RemoveRecoveryCopy() override {}
    OsError ReserveRoom(std::size_t) override { return CANNOT_RESERVE; }
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
    void OpenExisting();
    bool CreateTemp(STargetFacts& facts);

    std::wstring m_strTarget;        // the target's full path as the API takes it
    std::wstring m_strTemp;          // the temporary file beside it, if any
    void* m_hFile = nullptr;         // the handle read from or written to
    void* m_hLock = nullptr;         // the existing target, held unshared meanwhile
    unsigned long m_nAttributes = 0; // the existing target's, given back after replacing it
    bool m_bExists = false;          // the target existed: ReplaceFileW, not MoveFileExW
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
// replaced; only ReplaceFileW's delete is let in.
void CWin32File::OpenExisting()
{
    const DWORD nShare =
        m_bLock ? FILE_SHARE_DELETE : FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    const HANDLE hLock = CreateFileW(m_strTarget.c_str(), GENERIC_READ | GENERIC_WRITE, nShare,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hLock == INVALID_HANDLE_VALUE)
        FailOs(GetLastError(), true);
    m_hLock = hLock;
    if (GetFileType(hLock) != FILE_TYPE_DISK)
        Fail(CFileException::accessDenied);
    if (const DWORD nError = m_bLock ? LockWhole(hLock, true) : 0)
        FailOs(nError);
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
    }
    else if (nAttributes & FILE_ATTRIBUTE_DIRECTORY)
        Fail(CFileException::accessDenied);
    STargetFacts facts;
    facts.bExists = m_bExists = nAttributes != INVALID_FILE_ATTRIBUTES;
    m_nAttributes = m_bExists ? nAttributes : 0;
    if (m_bExists)
    {
        OpenExisting();
        // A new file would lose the other names of the file.
        BY_HANDLE_FILE_INFORMATION info = {};
        facts.bIdentityWouldChange =
            GetFileInformationByHandle(AsHandle(m_hLock), &info) && info.nNumberOfLinks > 1;
    }
    while ((m_strategy = ChooseSaveStrategy(facts)) == ESaveStrategy::replaceThroughNamedTemporary)
        if (CreateTemp(facts))
            break;
    if (m_strategy == ESaveStrategy::rewriteInPlaceAfterRecoveryCopy)
        m_hFile = std::exchange(m_hLock, nullptr);
}

// A temporary file beside the target; false with the fact changed when the
// folder takes no new file.
bool CWin32File::CreateTemp(STargetFacts& facts)
{
    for (int nAttempt = 0;; ++nAttempt)
    {
        const std::wstring strTemp = TempPath(m_strTarget);
        const HANDLE hTemp = CreateFileW(strTemp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                         FILE_ATTRIBUTE_NORMAL, nullptr);
        if (hTemp != INVALID_HANDLE_VALUE)
        {
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
    // Closed first, so that a late write error still stops the replacement.
    if (!CloseHandle(AsHandle(std::exchange(m_hFile, nullptr))))
        FailOs(GetLastError());
    if (m_hLock != nullptr)
        CloseHandle(AsHandle(std::exchange(m_hLock, nullptr))); // ReplaceFileW opens it itself

    BOOL bDone = FALSE;
    if (m_bExists)
        bDone = ReplaceFileW(m_strTarget.c_str(), m_strTemp.c_str(), nullptr,
                             REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
    // A new file, or one removed meanwhile.
    if (!bDone && (!m_bExists || GetLastError() == ERROR_FILE_NOT_FOUND))
        bDone = MoveFileExW(m_strTemp.c_str(), m_strTarget.c_str(),
                            MOVEFILE_REPLACE_EXISTING | (m_bSync ? MOVEFILE_WRITE_THROUGH : 0));
    if (!bDone)
        FailOs(GetLastError());
    // ReplaceFileW keeps hidden, system and the like on Windows, not always
    // elsewhere (wine).
    constexpr DWORD KEPT = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                           FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    if (m_bExists && (GetFileAttributesW(m_strTarget.c_str()) & KEPT) != (m_nAttributes & KEPT))
        SetFileAttributesW(m_strTarget.c_str(), m_nAttributes & (KEPT | FILE_ATTRIBUTE_READONLY));
    m_strTemp.clear();
    ClearCleanup();
    Abort();
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
// The volume and file index of a path's file, or of standard output for
// "/dev/stdout"; false when it cannot be opened.
bool GetFileIdentity(const std::string& strPath, BY_HANDLE_FILE_INFORMATION& info)
{
    if (strPath == "/dev/stdout")
    {
        const HANDLE hOut = GetStdHandle(STD_OUTPUT_HANDLE);
        return hOut != nullptr && hOut != INVALID_HANDLE_VALUE &&
               GetFileType(hOut) == FILE_TYPE_DISK && GetFileInformationByHandle(hOut, &info);
    }
    const std::wstring strApi = GetApiPath(strPath);
    if (strApi.empty())
        return false;
    const HANDLE hFile =
        CreateFileW(strApi.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    const bool bOk = GetFileInformationByHandle(hFile, &info);
    CloseHandle(hFile);
    return bOk;
}
} // namespace

bool IsSameFile(const std::string& strPath1, const std::string& strPath2)
{
    BY_HANDLE_FILE_INFORMATION info1 = {};
    BY_HANDLE_FILE_INFORMATION info2 = {};
    return GetFileIdentity(strPath1, info1) && GetFileIdentity(strPath2, info2) &&
           info1.dwVolumeSerialNumber == info2.dwVolumeSerialNumber &&
           info1.nFileIndexHigh == info2.nFileIndexHigh &&
           info1.nFileIndexLow == info2.nFileIndexLow;
}

std::optional<FileId> GetFileId(const std::string& strPath)
{
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!GetFileIdentity(strPath, info))
        return std::nullopt;
    return FileId{info.dwVolumeSerialNumber,
                  (std::uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

// Replacing keeps no copy aside on Windows: ReplaceFileW or a rewrite of
// a hard-linked file from memory.
std::string GetRecoveryCopyPath(const std::string&)
{
    return {};
}

void InstallTemporaryFileCleanup()
{
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}
