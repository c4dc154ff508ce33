// The Win32 backend's message boxes and common file dialogs.
#include "platform/Backend.h"
#include "platform/Dialog.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/WinApp.h"

#include "platform/win32/Windows.h"

namespace
{
// The window a prompt belongs to: the active one of the program, else its
// main window.
HWND PromptOwner(CDialog* pParent)
{
    if (pParent != nullptr && pParent->m_hWnd != nullptr)
        return pParent->m_hWnd;
    if (HWND hActive = GetActiveWindow())
        return hActive;
    CDialog* pMain = AfxGetMainWnd();
    return pMain != nullptr ? pMain->m_hWnd : nullptr;
}
} // namespace

int AfxShowMessageBox(const std::string& strText, const std::string& strCaption, UINT nType)
{
    AfxTrace("messagebox " + std::to_string(nType) + " " + strCaption + ": " + strText);
    const int nResult = MessageBoxW(PromptOwner(nullptr), Utf8ToWide(strText).c_str(),
                                    Utf8ToWide(strCaption).c_str(), nType | MB_SETFOREGROUND);
    // Escape or the close box: OK where it is the only button, else Cancel.
    return nResult != 0 ? nResult : ((nType & MB_TYPEMASK) == MB_OK ? IDOK : IDCANCEL);
}

INT_PTR CFileDialog::ShowDialog()
{
    // "Text (*.txt)|*.txt||" becomes the dialog's list of pairs, each part
    // ending in a zero, the list in two.
    std::wstring strFilter = Utf8ToWide(m_strFilter);
    for (wchar_t& c : strFilter)
        if (c == L'|')
            c = L'\0';
    strFilter.append(2, L'\0');
    // "vlk", ".vlk" and "*.vlk" all mean the same; the dialog wants "vlk".
    std::string strDefExt = m_strDefExt;
    strDefExt.erase(0, strDefExt.find_first_not_of("*."));
    const std::wstring strDefExtW = Utf8ToWide(strDefExt);

    std::wstring strFile = Utf8ToWide(m_strFileName);
    strFile.resize(32768, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = PromptOwner(m_pParent);
    ofn.lpstrFilter = m_strFilter.empty() ? nullptr : strFilter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(m_nFilterIndex);
    ofn.lpstrFile = strFile.data();
    ofn.nMaxFile = static_cast<DWORD>(strFile.size());
    ofn.lpstrDefExt = strDefExt.empty() ? nullptr : strDefExtW.c_str();
    const std::wstring strInitialDir = Utf8ToWide(m_strInitialDir);
    ofn.lpstrInitialDir = strInitialDir.empty() ? nullptr : strInitialDir.c_str();
    // The program's working folder stays where it was.
    ofn.Flags = m_dwFlags | OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_ENABLESIZING;
    const BOOL bOk = m_bOpen ? GetOpenFileNameW(&ofn) : GetSaveFileNameW(&ofn);
    if (!bOk)
        return IDCANCEL;
    m_nFilterIndex = static_cast<int>(ofn.nFilterIndex);
    AfxTrace("file " + WideToUtf8(strFile.c_str()));
    m_strPathName = CompleteName(WideToUtf8(strFile.c_str()), m_nFilterIndex);
    return IDOK;
}
