// The platform contract on the Win32 backend: the common controls as the
// program starts them, and a pump of the thread's message queue.
#include "PlatformContract.h"
#include "platform/Dialog.h"
#include "platform/WinApp.h"

#include "platform/win32/Windows.h"

#include <gtest/gtest.h>

namespace
{
struct CControls : public ::testing::Environment
{
    void SetUp() override { CWinApp::Enable3dControls(); }
};
const auto* s_pControls = ::testing::AddGlobalTestEnvironment(new CControls);
} // namespace

void ContractPump()
{
    for (int i = 0; i < 4; ++i)
    {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}
