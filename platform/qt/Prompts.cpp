// The Qt backend's message boxes and file dialogs.
#include "platform/Backend.h"
#include "platform/Dialog.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

int AfxShowMessageBox(const std::string& strText, const std::string& strCaption, UINT nType)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(QString::fromStdString(strCaption));
    box.setText(QString::fromStdString(strText));
    box.setTextFormat(Qt::PlainText);
    static const QMessageBox::Icon s_aIcons[] = {QMessageBox::NoIcon, QMessageBox::Critical,
                                                 QMessageBox::Question, QMessageBox::Warning,
                                                 QMessageBox::Information};
    const UINT nIcon = (nType & MB_ICONMASK) >> 4;
    box.setIcon(nIcon < 5 ? s_aIcons[nIcon] : QMessageBox::NoIcon);

    using Button = std::pair<QMessageBox::StandardButton, int>;
    const std::vector<Button> buttons =
        (nType & MB_TYPEMASK) == MB_YESNO
            ? std::vector<Button>{{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}}
            : std::vector<Button>{{QMessageBox::Ok, IDOK}};
    for (const auto& [button, nResult] : buttons)
        box.addButton(button);
    box.setDefaultButton(buttons.front().first);
    box.exec();
    for (const auto& [button, nResult] : buttons)
        if (box.clickedButton() == box.button(button))
            return nResult;
    // Escape or the close box: OK where it is the only button, else Cancel.
    return (nType & MB_TYPEMASK) == MB_OK ? IDOK : IDCANCEL;
}
INT_PTR CFileDialog::ShowDialog()
{
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
