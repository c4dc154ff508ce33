#include "platform/FileDialog.h"
#include "files/Path.h"
#include "platform/MessageBox.h"

CFileDialog::CFileDialog(BOOL bOpenFileDialog, const char* pszDefExt, const char* pszFileName,
                         DWORD dwFlags, const char* pszFilter, CDialog* pParentWnd)
    : m_bOpen(bOpenFileDialog != FALSE), m_strDefExt(pszDefExt ? pszDefExt : ""),
      m_strFileName(pszFileName ? pszFileName : ""), m_dwFlags(dwFlags),
      m_strFilter(pszFilter ? pszFilter : ""), m_pParent(pParentWnd)
{
}

INT_PTR CFileDialog::DoModal()
{
    s_last = {s_last.nCount + 1,      m_strFilter,    m_dwFlags, m_strDefExt,
              m_bOpen ? TRUE : FALSE, m_strInitialDir};
    m_strPathName.clear();

    if (!s_next.empty())
    {
        const NextChoice choice = s_next.front();
        s_next.pop_front();
        if (choice.bCancel)
            return IDCANCEL;
        if (choice.nFilterIndex > 0)
            m_nFilterIndex = choice.nFilterIndex;
        m_strPathName = CompleteName(choice.strPath, m_nFilterIndex);
        return IDOK;
    }

    return ShowDialog();
}

std::string CFileDialog::GetFileName() const
{
    return ::GetFileName(m_strPathName);
}

std::string CFileDialog::GetFileExt() const
{
    return GetFileExtension(m_strPathName);
}

std::string CFileDialog::GetFileTitle() const
{
    return ::GetFileTitle(m_strPathName);
}
