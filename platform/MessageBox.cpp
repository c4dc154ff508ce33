#include "platform/MessageBox.h"
#include "platform/Backend.h"
#include "platform/WinApp.h"
#include "res/Strings.h"

#include <cstdio>

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
    return AfxShowMessageBox(strText, strCaption, nType);
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
