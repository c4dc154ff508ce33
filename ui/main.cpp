// Velkor: software project risk assessment.
#include "platform/WinApp.h"
#include "ui/RiskApp.h"

namespace
{
CRiskApp theApp;
} // namespace

int main(int argc, char** argv)
{
    return theApp.Run(argc, argv);
}
