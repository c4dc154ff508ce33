#include "platform/FileDialog.h"
#include "files/Path.h"
#include "platform/MessageBox.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

CFileDialog::CFileDialog(BOOL bOpenFileDialog, const char* pszDefExt, const char* pszFileName,
                         DWORD dwFlags, const char* pszFilter, QWidget* pParentWnd)
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

    QFileDialog dlg(m_pParent);
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setAcceptMode(m_bOpen ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dlg.setFileMode(m_bOpen && (m_dwFlags & OFN_FILEMUSTEXIST) ? QFileDialog::ExistingFile
                                                               : QFileDialog::AnyFile);
    dlg.setOption(QFileDialog::DontConfirmOverwrite, (m_dwFlags & OFN_OVERWRITEPROMPT) == 0);
    QStringList nameFilters;
    for (const auto& [strText, strPatterns] : ParseFilter(m_strFilter))
    {
        QString text = QString::fromStdString(strText);
        QString patterns = QString::fromStdString(strPatterns).replace(';', ' ');
        if (!text.endsWith("(" + patterns + ")"))
            text += " (" + patterns + ")";
        nameFilters << text;
    }
    if (!nameFilters.isEmpty())
    {
        dlg.setNameFilters(nameFilters);
        m_nFilterIndex = std::clamp(m_nFilterIndex, 1, static_cast<int>(nameFilters.size()));
        dlg.selectNameFilter(nameFilters[m_nFilterIndex - 1]);
    }
    // Qt completes a bare name with the default suffix; keep it that of the
    // selected file type.
    auto suffixOf = [this](int nIndex)
    {
        std::string strCompleted = CompleteName("x", nIndex);
        return strCompleted == "x" ? QString() : QString::fromStdString(strCompleted.substr(2));
    };
    dlg.setDefaultSuffix(suffixOf(m_nFilterIndex));
    QObject::connect(&dlg, &QFileDialog::filterSelected, &dlg,
                     [&](const QString& filter)
                     {
                         m_nFilterIndex = static_cast<int>(nameFilters.indexOf(filter)) + 1;
                         dlg.setDefaultSuffix(suffixOf(m_nFilterIndex));
                     });
    if (!m_strInitialDir.empty())
        dlg.setDirectory(QString::fromStdString(m_strInitialDir));
    if (!m_strFileName.empty())
        dlg.selectFile(QString::fromStdString(m_strFileName));

    for (;;)
    {
        if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
            return IDCANCEL;
        QFileInfo info(dlg.selectedFiles().first());
        if ((m_dwFlags & OFN_PATHMUSTEXIST) && !info.absoluteDir().exists())
        {
            AfxMessageBox(info.absolutePath().toStdString() +
                              "\nThe folder does not exist. Check the path and try again.",
                          MB_OK | MB_ICONEXCLAMATION);
            continue;
        }
        m_strPathName = info.absoluteFilePath().toStdString();
        return IDOK;
    }
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
