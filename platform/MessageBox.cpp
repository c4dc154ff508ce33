#include "platform/MessageBox.h"
#include "platform/WinApp.h"
#include "res/Strings.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>

namespace
{
int ShowForReal(const std::string& strText, const std::string& strCaption, UINT nType)
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
} // namespace

int CMessageBox::Show(const std::string& strText, const std::string& strCaption, UINT nType)
{
    s_shown.push_back({strText, strCaption, nType});
    if (!s_answers.empty())
    {
        const int nAnswer = s_answers.front();
        s_answers.pop_front();
        return nAnswer;
    }
    if (s_bNonInteractive)
    {
        std::fprintf(stderr, "unanswered message box: %s\n", strText.c_str());
        return 0;
    }
    return ShowForReal(strText, strCaption, nType);
}

const CMessageBox::Shown& CMessageBox::Last()
{
    static const Shown s_none{{}, {}, 0};
    return s_shown.empty() ? s_none : s_shown.back();
}

int AfxMessageBox(const std::string& strText, UINT nType, UINT /*nIDHelp*/)
{
    return CMessageBox::Show(strText, AfxGetAppName(), nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    return AfxMessageBox(LoadResString(static_cast<int>(nIDPrompt)), nType, nIDHelp);
}
