// velkor_hold_file MODE PATH: another program holding a file, for the tests
// of the Windows file layer. MODE: "exclusive" (opened without sharing),
// "reader" (read, sharing only with readers) or "lock" (shared, with an
// exclusive LockFileEx over its first kilobyte). Prints "ready" once it
// holds the file and lets go when its standard input ends. MODE "save"
// saves the file over and over until killed, 64 KiB of 'a' and of 'b' in
// turn: the tests kill it at random moments.
#include "files/File.h"
#include "files/Path.h"
#include "files/Win32.h"

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3)
        return 2;
    const std::wstring strMode = argv[1];
    if (strMode == L"save")
    {
        const std::string strPath = WideToUtf8(argv[2]);
        std::fputs("ready\n", stdout);
        std::fflush(stdout);
        for (char c = 'a';; c = c == 'a' ? 'b' : 'a')
        {
            const std::string strBytes(65536, c);
            CFile file(strPath, CFile::modeCreateNoSync);
            file.Write(strBytes.data(), strBytes.size());
            file.Close();
        }
    }
    const bool bExclusive = strMode == L"exclusive";
    const DWORD nShare = bExclusive ? 0
                         : strMode == L"reader"
                             ? FILE_SHARE_READ
                             : FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    const HANDLE hFile =
        CreateFileW(argv[2], GENERIC_READ | (bExclusive ? GENERIC_WRITE : 0), nShare, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return 1;
    OVERLAPPED overlapped = {};
    if (strMode == L"lock" &&
        !LockFileEx(hFile, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1024, 0,
                    &overlapped))
        return 1;
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    while (std::getchar() != EOF)
    {
    }
    CloseHandle(hFile);
    return 0;
}
