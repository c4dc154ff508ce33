// The Win32 backend's application: common controls, the command line in
// UTF-16, the program's name and its icon resource.
#include "platform/WinApp.h"
#include "platform/Backend.h"
#include "platform/Dialog.h"

#include "platform/win32/Windows.h"

#include "platform/win32/DialogProc.h"

#include <ole2.h>

int CWinApp::Run(int /*argc*/, char** /*argv*/)
{
    // The common file dialogs want COM on this thread.
    const HRESULT hrOle = OleInitialize(nullptr);
    int nCode = 0;
    if (InitInstance())
    {
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0)
            if (!CDialogImpl::PreTranslateMessage(&msg))
            {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        nCode = static_cast<int>(msg.wParam);
    }
    const int nExit = ExitInstance();
    if (SUCCEEDED(hrOle))
        OleUninitialize();
    return nCode != 0 ? nCode : nExit;
}

void CWinApp::Enable3dControls()
{
    // Version 6 of the common controls (from the manifest) draws the
    // desktop's theme.
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo) const
{
    // The command line as typed, in UTF-16: no code page loses a character.
    int nArgs = 0;
    LPWSTR* ppszArgs = CommandLineToArgvW(GetCommandLineW(), &nArgs);
    std::vector<std::string> args;
    for (int i = 1; ppszArgs != nullptr && i < nArgs; ++i)
        args.push_back(WideToUtf8(ppszArgs[i]));
    LocalFree(ppszArgs);
    ParseArguments(args, rCmdInfo);
}

std::string AfxProgramName()
{
    std::wstring strPath(32768, L'\0');
    strPath.resize(GetModuleFileNameW(nullptr, strPath.data(), static_cast<DWORD>(strPath.size())));
    const std::size_t nSlash = strPath.find_last_of(L"\\/");
    std::wstring strName = nSlash == std::wstring::npos ? strPath : strPath.substr(nSlash + 1);
    const std::size_t nDot = strName.rfind(L'.');
    if (nDot != std::wstring::npos && nDot != 0)
        strName.resize(nDot);
    return WideToUtf8(strName);
}

HICON AfxLoadIcon(int nId)
{
    // Shared: the system keeps one copy and frees it with the program.
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(nId),
                                         IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
}
