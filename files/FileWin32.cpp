// The Win32 backend of the file object (File.h). Readers share the file with
// other readers and keep writers out; a writer keeps everyone out. A write
// goes to a temporary file in the target's folder that replaces the target
// in one rename only when complete (ReplaceWin32.cpp), with the old file's
// attributes and permissions; the temporary files a killed save left go at
// the next save. A file that a new one would not fully replace (hard links,
// named streams, permissions that cannot be carried over) is rewritten in
// place, with its old content put back should that fail. A symbolic link is
// written through: its target is replaced, the link stays. Paths are UTF-8 here and UTF-16
// at the API; every message names the file by the path given to Open().
#include "files/File.h"
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
DWORD Rewrite(HANDLE hFile, const std::string& strBytes)
{
    if (!Rewind(hFile))
        return GetLastError();
    if (const DWORD nError = WriteAll(hFile, strBytes.data(), strBytes.size()))
        return nError;
    return SetEndOfFile(hFile) ? 0 : GetLastError();
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
    m_strTarget = GetApiPath(strFileName);
    if (m_strTarget.empty())
        Fail(CFileException::badPath);
    if (mode == modeRead)
        OpenForReading();
    else
        OpenForWriting();
}

void CFile::Fail(CFileException::Cause cause)
{
    Abort();
    throw CFileException(cause, m_strFileName);
}

void CFile::FailLastError(unsigned long nError, bool bCreating)
{
    Fail(CFileException::CauseFromWin32Error(nError, bCreating));
}

void CFile::OpenForReading()
{
    const HANDLE hFile = CreateFileW(m_strTarget.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        FailLastError(GetLastError());
    m_hFile = hFile;
    // Pipes and consoles would wait for someone else's bytes.
    if (GetFileType(hFile) != FILE_TYPE_DISK)
        Fail(CFileException::accessDenied);
    if (const DWORD nError = LockWhole(hFile, false))
        FailLastError(nError);
}

void CFile::OpenForWriting()
{
    m_bWriting = true;
    const DWORD nAttributes = GetFileAttributesW(m_strTarget.c_str());
    if (nAttributes == INVALID_FILE_ATTRIBUTES)
    {
        const DWORD nError = GetLastError();
        if (nError != ERROR_FILE_NOT_FOUND)
            FailLastError(nError, true);
        if (IsDanglingLink(m_strTarget)) // the save could only replace the link
            Fail(CFileException::accessDenied);
    }
    else if (nAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))
        Fail(CFileException::accessDenied); // the rename would replace a read-only file
    m_bExists = nAttributes != INVALID_FILE_ATTRIBUTES;

    SKeptIdentity kept;
    if (m_bExists)
    {
        // Opening the old file for writing asks whether we may change it at
        // all (a read-only file may not be), and keeps every other program
        // out until it is replaced; only the rename's delete is let in.
        const DWORD nShare =
            m_bLock ? FILE_SHARE_DELETE : FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
        const HANDLE hLock = CreateFileW(m_strTarget.c_str(), GENERIC_READ | GENERIC_WRITE, nShare,
                                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (hLock == INVALID_HANDLE_VALUE)
        {
            const DWORD nError = GetLastError();
            if (nAttributes & FILE_ATTRIBUTE_REPARSE_POINT && nError == ERROR_FILE_NOT_FOUND)
                Fail(CFileException::accessDenied); // a link that leads nowhere
            FailLastError(nError, true);
        }
        m_hLock = hLock;
        if (GetFileType(hLock) != FILE_TYPE_DISK)
            Fail(CFileException::accessDenied);
        if (const DWORD nError = m_bLock ? LockWhole(hLock, true) : 0)
            FailLastError(nError);
        // Through a link, the link's target is replaced beside itself; a
        // link that cannot be followed so is not replaced at all.
        if (std::wstring strFinal = GetFinalPath(hLock); !strFinal.empty())
            m_strTarget = std::move(strFinal);
        else if (nAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
            Fail(CFileException::accessDenied);
        // A new file would lose the other names of the file, or its streams.
        BY_HANDLE_FILE_INFORMATION info = {};
        m_bInPlace = (GetFileInformationByHandle(hLock, &info) && info.nNumberOfLinks > 1) ||
                     !ReadKeptIdentity(hLock, m_strTarget, kept);
    }

    RemoveStrayTemporaries(m_strTarget);
    for (int nAttempt = 0; !m_bInPlace; ++nAttempt)
    {
        const std::wstring strTemp = TempPath(m_strTarget);
        // Shared for nothing but the rename that puts it in place.
        const HANDLE hTemp =
            CreateFileW(strTemp.c_str(), GENERIC_WRITE | WRITE_DAC, FILE_SHARE_DELETE, nullptr,
                        CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (hTemp != INVALID_HANDLE_VALUE)
        {
            m_hFile = hTemp;
            m_strTemp = strTemp;
            SetCleanup(m_strTemp);
            if (!m_bExists || GiveKeptIdentity(hTemp, kept))
                break;
            // The new file could not be the old one: rewritten in place.
            CloseHandle(std::exchange(m_hFile, nullptr));
            DeleteFileW(m_strTemp.c_str());
            ClearCleanup();
            m_strTemp.clear();
            m_bInPlace = true;
        }
        const DWORD nError = GetLastError();
        if (nError == ERROR_ACCESS_DENIED && m_bExists)
            m_bInPlace = true; // the folder takes no new file, the file can change
        else if ((nError != ERROR_FILE_EXISTS && nError != ERROR_ALREADY_EXISTS) || nAttempt == 100)
            FailLastError(nError, true);
    }
    if (m_bInPlace)
        m_hFile = std::exchange(m_hLock, nullptr);
}

std::size_t CFile::Read(void* pBuffer, std::size_t nCount)
{
    if (!IsOpen() || m_bWriting)
        Fail(CFileException::invalidFile);
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
            FailLastError(nError);
        }
        if (nRead == 0)
            break;
        nDone += nRead;
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
    if (const DWORD nError = WriteAll(AsHandle(m_hFile), static_cast<const char*>(pBuffer), nCount))
        FailLastError(nError);
}

void CFile::CloseInPlace()
{
    const HANDLE hFile = AsHandle(m_hFile);
    std::string strOld;
    const bool bHaveOld = ReadWhole(hFile, strOld);
    DWORD nError = Rewrite(hFile, m_strBuffer);
    if (nError == 0 && m_bSync && !FlushFileBuffers(hFile))
        nError = GetLastError();
    if (nError != 0 && bHaveOld && Rewrite(hFile, strOld) == 0) // it takes no more room than it had
        FlushFileBuffers(hFile);
    if (nError != 0)
        FailLastError(nError);
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
    {
        CloseInPlace();
        Release();
        return;
    }

    if (m_bSync && !FlushFileBuffers(AsHandle(m_hFile)))
        FailLastError(GetLastError());
    if (m_hLock != nullptr)
        CloseHandle(AsHandle(std::exchange(m_hLock, nullptr))); // the rename replaces it
    if (const DWORD nError = ReplaceByRename(m_strTemp, m_strTarget, m_bSync))
        FailLastError(nError);
    // Closed only now: until it has the target's name, no other save takes
    // it for a temporary file a killed save left.
    const bool bClosed = CloseHandle(AsHandle(std::exchange(m_hFile, nullptr)));
    m_strTemp.clear();
    ClearCleanup();
    Release();
    if (!bClosed) // a late write error: the file is in place, but not complete
        FailLastError(GetLastError());
}

void CFile::Abort()
{
    if (m_hFile != nullptr)
        CloseHandle(AsHandle(m_hFile));
    m_hFile = nullptr;
    if (!m_strTemp.empty())
    {
        DeleteFileW(m_strTemp.c_str());
        ClearCleanup();
    }
    Release();
}

void CFile::Release()
{
    if (m_hFile != nullptr)
        CloseHandle(AsHandle(m_hFile));
    if (m_hLock != nullptr)
        CloseHandle(AsHandle(m_hLock));
    m_hFile = nullptr;
    m_hLock = nullptr;
    m_strTemp.clear();
    m_strBuffer.clear();
    m_bWriting = false;
    m_bInPlace = false;
    m_bExists = false;
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
