// The open-file and save-file dialogs, with a test seam: a test sets the
// next chosen file (or a cancel) and reads back how the dialog was set up.
#pragma once

#include "files/Path.h"
#include "platform/Afx.h"

#include <deque>
#include <string>
#include <utility>
#include <vector>

class CDialog;

constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;

class CFileDialog
{
public:
    // pszDefExt: appended to a name typed without extension ("vlk", ".vlk"
    // and "*.vlk" all mean the same); the file type selected in the dialog
    // wins when its pattern names one extension. pszFilter: "Text (*.txt)|*.txt|...||".
    explicit CFileDialog(BOOL bOpenFileDialog, const char* pszDefExt = nullptr,
                         const char* pszFileName = nullptr,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                         const char* pszFilter = nullptr, CDialog* pParentWnd = nullptr);

    // IDOK with a file chosen, IDCANCEL otherwise.
    INT_PTR DoModal();

    std::string GetPathName() const { return m_strPathName; }
    std::string GetFileName() const;  // name with extension, no folder
    std::string GetFileExt() const;   // after the name's last '.', empty without one
    std::string GetFileTitle() const; // name without folder and last extension

    // 1-based index of the selected file type, as the dialog left it.
    int m_nFilterIndex = 1;
    // The folder the dialog starts in; empty: the platform's choice.
    std::string m_strInitialDir;

    // Pairs of description and patterns ("*.txt;*.text") from a filter string.
    static std::vector<std::pair<std::string, std::string>>
    ParseFilter(const std::string& strFilter)
    {
        return ParseFileFilter(strFilter);
    }
    // The name as the dialog returns it: a name without extension gets that of
    // file type nFilterIndex, else the default extension.
    std::string CompleteName(const std::string& strPath, int nFilterIndex) const
    {
        return CompleteFileName(strPath, m_strFilter, nFilterIndex, m_strDefExt);
    }

    // Seam. With a next file set (or a cancel), DoModal shows nothing and
    // answers from it; each call consumes one.
    static void SetNextFileName(const std::string& strPath, int nFilterIndex = 0)
    {
        s_next.push_back({false, strPath, nFilterIndex});
    }
    static void SetNextCancel() { s_next.push_back({true, {}, 0}); }
    static int GetCount() { return s_last.nCount; } // dialogs run so far
    static std::string GetLastFilter() { return s_last.strFilter; }
    static DWORD GetLastFlags() { return s_last.dwFlags; }
    static std::string GetLastDefExt() { return s_last.strDefExt; } // as given
    static BOOL GetLastOpenFileDialog() { return s_last.bOpen; }
    static std::string GetLastInitialDir() { return s_last.strInitialDir; }
    static void Reset()
    {
        s_next.clear();
        s_last = {};
    }

private:
    // The backend's dialog, for a DoModal the seam does not answer.
    INT_PTR ShowDialog();

    bool m_bOpen;
    std::string m_strDefExt; // as given
    std::string m_strFileName;
    DWORD m_dwFlags;
    std::string m_strFilter;
    CDialog* m_pParent;
    std::string m_strPathName;

    struct NextChoice
    {
        bool bCancel;
        std::string strPath;
        int nFilterIndex;
    };
    struct LastDialog
    {
        int nCount;
        std::string strFilter;
        DWORD dwFlags;
        std::string strDefExt;
        BOOL bOpen;
        std::string strInitialDir;
    };
    static inline std::deque<NextChoice> s_next;
    static inline LastDialog s_last{};
};
