// Inside the Win32 file backend: the steps of a save that a kill at any
// moment must not break, and the links it must write through.
#pragma once

#include "files/Win32.h"

#include <string>

// The path the open handle's file has once every link on the way is
// followed (the "\\?\" form), so that a save through a symbolic link
// replaces its target and keeps the link; empty when it cannot be told.
std::wstring GetFinalPath(HANDLE hFile);

// True when strPath names something (a link) that leads nowhere.
bool IsDanglingLink(const std::wstring& strPath);

// What a replacement must give the new file so that it stays the old one
// to its owner: attributes, creation time and permissions.
struct SKeptIdentity
{
    SKeptIdentity() = default;
    ~SKeptIdentity();
    SKeptIdentity(const SKeptIdentity&) = delete;
    SKeptIdentity& operator=(const SKeptIdentity&) = delete;

    FILE_BASIC_INFO basic = {};
    PSECURITY_DESCRIPTOR pSecurity = nullptr; // from GetSecurityInfo
    PACL pDacl = nullptr;                     // inside pSecurity
    bool bProtected = false;                  // the permissions inherit nothing
};

// Reads them from the old file; false when something would be lost (named
// streams, permissions that cannot be read): rewrite in place instead.
bool ReadKeptIdentity(HANDLE hOld, const std::wstring& strOld, SKeptIdentity& kept);

// Gives them to the new file, before it takes the old one's name; false
// when they cannot be given.
bool GiveKeptIdentity(HANDLE hNew, const SKeptIdentity& kept);

// Renames the complete temporary file over the target in one step (an
// atomic replace on NTFS): a kill leaves the old file or the new one. The
// temporary file stays open meanwhile (shared only for this rename), so no
// other save takes it for a stray one. Returns 0 or the Win32 error.
DWORD ReplaceByRename(const std::wstring& strTemp, const std::wstring& strTarget, bool bSync);

// The prefix of the temporary files of a save of strTarget: "~plan.vlk".
std::wstring TempPrefix(const std::wstring& strTarget);

// Removes the temporary files a killed save of strTarget left beside it
// ("~plan.vlk.XXXXXXXX.tmp"), each only when no program has it open.
void RemoveStrayTemporaries(const std::wstring& strTarget);
