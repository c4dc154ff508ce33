// The about box: the version information of a program file (normally the
// running program's own), read from the file on disk.
#pragma once

#include "platform/Dialog.h"

#include <cstdint>
#include <memory>
#include <string>

class CAboutDlg : public CDialog
{
public:
    // Null file name: the running program's executable. Null display name:
    // the file name part of the path.
    CAboutDlg(const char* pszFileName = nullptr, const char* pszDisplayName = nullptr,
              CDialog* pParent = nullptr);
    ~CAboutDlg() override;

    // Reads the version information of m_szModulePath once; 1 when it was read.
    int LoadVersionInfo();
    // Appends the build items the flags call for, gives every item its value
    // and shows the last one.
    void FillItemValues();
    // Shows the selected item's value, "[none]" in a disabled box for a
    // missing one. Also the handler of a selection change in the list.
    void ShowSelectedValue();

    CListBox m_lbItems; // item names; each item's data is its value text or null
    std::string m_strCopyright;
    std::string m_strDescription;
    std::string m_strFileVersion;
    std::string m_strValue;
    std::string m_strPreRelease;
    std::string m_strDebug;
    std::int32_t m_bVersionLoaded = 0;
    // Title and path grow as needed: a long name is neither cut nor overflows.
    std::string m_szTitle;
    std::string m_szModulePath;
    char m_szStringPrefix[38] = {};
    std::uint32_t m_dwFileFlags = 0;
    // The whole version block, as GetFileVersionInfoA filled it; the list's
    // value pointers point into it (or at m_szLanguage) while the dialog lives.
    std::unique_ptr<std::uint32_t[]> m_pVersionData;
    char m_szLanguage[50] = {};

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnCommand(UINT nID, UINT nCode) override;
};
