// The application object: builds the main window and runs it modally.
#pragma once

#include "platform/WinApp.h"

class CRiskApp : public CWinApp
{
public:
    CRiskApp();
    BOOL InitInstance() override;
};
