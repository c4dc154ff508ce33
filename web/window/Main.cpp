// Velkor in the browser: the same application object and windows as on the
// desktop, entered by the page through an asynchronous call so that the
// modal loops can wait for the page's events.
#include "ui/RiskApp.h"

#include <emscripten.h>

namespace
{
CRiskApp theApp;
} // namespace

extern "C" EMSCRIPTEN_KEEPALIVE int velkor_main()
{
    return theApp.Run(0, nullptr);
}
