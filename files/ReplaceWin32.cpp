// The Win32 backend's replacement of a file by a complete temporary one:
// one rename that replaces the target (MoveFileExW), with the old file's
// attributes, creation time and permissions given to the new one first.
// ReplaceFileW keeps those too, but is no single step: killed between its
// steps (wine) it leaves no file under the target's name at all.
#include "files/ReplaceWin32.h"

#include <aclapi.h>

#include <cstring>

#include <string_view>
#include <vector>

std::wstring GetFinalPath(HANDLE hFile)
{
    std::wstring strPath(MAX_PATH, L'\0');
    for (;;)
    {
        const DWORD n =
            GetFinalPathNameByHandleW(hFile, strPath.data(), static_cast<DWORD>(strPath.size()),
                                      FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (n == 0)
            return {};
        if (n < strPath.size())
        {
            strPath.resize(n);
            return strPath;
        }
        strPath.resize(n);
    }
}

bool IsDanglingLink(const std::wstring& strPath)
{
    // The name taken for a moment, exclusively: a name that is there although
    // it leads to no file (wine shows no Unix link that leads nowhere) cannot
    // be. Deleted on closing, even when the process is killed meanwhile.
    const HANDLE hProbe =
        CreateFileW(strPath.c_str(), DELETE, 0, nullptr, CREATE_NEW,
                    FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (hProbe != INVALID_HANDLE_VALUE)
    {
        CloseHandle(hProbe);
        return false;
    }
    const DWORD nError = GetLastError();
    return nError == ERROR_FILE_EXISTS || nError == ERROR_ALREADY_EXISTS;
}

SKeptIdentity::~SKeptIdentity()
{
    if (pSecurity != nullptr)
        LocalFree(pSecurity);
}

bool ReadKeptIdentity(HANDLE hOld, const std::wstring& strOld, SKeptIdentity& kept)
{
    // A named stream (a download's zone mark, say) would not come along.
    WIN32_FIND_STREAM_DATA stream = {};
    const HANDLE hFind = FindFirstStreamW(strOld.c_str(), FindStreamInfoStandard, &stream, 0);
    if (hFind != INVALID_HANDLE_VALUE)
    {
        const bool bMore = FindNextStreamW(hFind, &stream) != 0;
        FindClose(hFind);
        if (bMore)
            return false;
    }
    if (!GetFileInformationByHandleEx(hOld, FileBasicInfo, &kept.basic, sizeof kept.basic))
        return false;
    if (GetSecurityInfo(hOld, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                        &kept.pDacl, nullptr, &kept.pSecurity) != ERROR_SUCCESS)
    {
        kept.pSecurity = nullptr;
        return false;
    }
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD nRevision = 0;
    if (GetSecurityDescriptorControl(kept.pSecurity, &control, &nRevision))
        kept.bProtected = (control & SE_DACL_PROTECTED) != 0;
    return true;
}

namespace
{
// True when the new file got the same permissions by itself (wine makes
// them of the Unix mode, and setting them would change the mode).
bool HasSamePermissions(HANDLE hNew, PACL pDacl)
{
    PSECURITY_DESCRIPTOR pSecurity = nullptr;
    PACL pNewDacl = nullptr;
    if (GetSecurityInfo(hNew, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                        &pNewDacl, nullptr, &pSecurity) != ERROR_SUCCESS)
        return false;
    const bool bSame = pNewDacl == nullptr || pDacl == nullptr
                           ? pNewDacl == pDacl
                           : pNewDacl->AclSize == pDacl->AclSize &&
                                 std::memcmp(pNewDacl, pDacl, pDacl->AclSize) == 0;
    LocalFree(pSecurity);
    return bSame;
}
} // namespace

bool GiveKeptIdentity(HANDLE hNew, const SKeptIdentity& kept)
{
    constexpr DWORD KEPT = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                           FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    FILE_BASIC_INFO basic = {};
    basic.CreationTime = kept.basic.CreationTime; // zero times stay as they are
    // FILE_ATTRIBUTE_NORMAL counts only alone: none of the others.
    basic.FileAttributes = kept.basic.FileAttributes & KEPT;
    if (basic.FileAttributes == 0)
        basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    if (!SetFileInformationByHandle(hNew, FileBasicInfo, &basic, sizeof basic))
        return false;
    // Only permissions of its own: inherited ones the new file inherits too.
    bool bOwn = kept.bProtected;
    ACL_SIZE_INFORMATION size = {};
    if (kept.pDacl != nullptr &&
        GetAclInformation(kept.pDacl, &size, sizeof size, AclSizeInformation))
        for (DWORD i = 0; i < size.AceCount && !bOwn; ++i)
        {
            void* pAce = nullptr;
            bOwn = GetAce(kept.pDacl, i, &pAce) &&
                   !(static_cast<ACE_HEADER*>(pAce)->AceFlags & INHERITED_ACE);
        }
    if (!bOwn || HasSamePermissions(hNew, kept.pDacl))
        return true;
    const SECURITY_INFORMATION info =
        DACL_SECURITY_INFORMATION | (kept.bProtected ? PROTECTED_DACL_SECURITY_INFORMATION
                                                     : UNPROTECTED_DACL_SECURITY_INFORMATION);
    return SetSecurityInfo(hNew, SE_FILE_OBJECT, info, nullptr, nullptr, kept.pDacl, nullptr) ==
           ERROR_SUCCESS;
}

DWORD ReplaceByRename(const std::wstring& strTemp, const std::wstring& strTarget, bool bSync)
{
    return MoveFileExW(strTemp.c_str(), strTarget.c_str(),
                       MOVEFILE_REPLACE_EXISTING | (bSync ? MOVEFILE_WRITE_THROUGH : 0))
               ? 0
               : GetLastError();
}

std::wstring TempPrefix(const std::wstring& strTarget)
{
    const auto nSlash = strTarget.find_last_of(L"\\/");
    const std::wstring strFolder = strTarget.substr(0, nSlash + 1);
    std::wstring strName = strTarget.substr(nSlash + 1);
    if (strName.size() + 1 + 14 > 255) // "~", ".XXXXXXXX.tmp" and a margin
        strName = L"velkor";
    return strFolder + L"~" + strName;
}

void RemoveStrayTemporaries(const std::wstring& strTarget)
{
    const std::wstring strPrefix = TempPrefix(strTarget);
    const std::wstring strFolder = strPrefix.substr(0, strPrefix.find_last_of(L"\\/") + 1);
    WIN32_FIND_DATAW data = {};
    const HANDLE hFind = FindFirstFileExW((strPrefix + L".????????.tmp").c_str(), FindExInfoBasic,
                                          &data, FindExSearchNameMatch, nullptr, 0);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    std::vector<std::wstring> strays;
    do
    {
        // "?" may match nothing: exactly eight characters, as TempPath makes.
        if (std::wstring_view(data.cFileName).size() == strPrefix.size() - strFolder.size() + 13)
            strays.push_back(strFolder + data.cFileName);
    } while (FindNextFileW(hFind, &data));
    FindClose(hFind);
    for (const std::wstring& strStray : strays)
    {
        // Opened unshared: a save that has it open keeps it.
        const HANDLE hStray =
            CreateFileW(strStray.c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                        FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (hStray != INVALID_HANDLE_VALUE)
            CloseHandle(hStray);
    }
}
