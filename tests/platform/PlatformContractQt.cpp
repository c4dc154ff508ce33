// The platform contract on the Qt backend.
#include "GuiTestSupport.h"
#include "PlatformContract.h"

void ContractPump()
{
    Pump();
}
