// Feeds arbitrary bytes to the JSON import, and checks what it promises: a
// refusal leaves the model as it was, an accepted document exports and
// imports again to the same project file. Bytes that load as a project also
// go through every export, whose JSON must import back to the same bytes.
#include "files/ProjectFile.h"
#include "input/Import.h"
#include "report/Export.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace
{
void Check(bool bCondition)
{
    if (!bCondition)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    const std::string_view bytes(reinterpret_cast<const char*>(pData), nSize);

    CRiskModel model;
    const std::string strBefore = MakeProjectBytes(model);
    try
    {
        // Checked weights on odd lengths, any weights on even ones.
        ImportProject(model, bytes, nSize % 2 == 0);
        CRiskModel again;
        ImportProject(again, MakeJsonExport(MakeSnapshot(model, std::string(bytes.substr(0, 16)))),
                      true);
        Check(MakeProjectBytes(again) == MakeProjectBytes(model));
    }
    catch (const CImportError&)
    {
        Check(MakeProjectBytes(model) == strBefore);
    }

    if (nSize >= PROJECT_FILE_SIZE)
    {
        CRiskModel loaded;
        ApplyProjectBytes(loaded, bytes, "fuzz.vlk");
        const std::string strTitle(bytes.substr(PROJECT_FILE_SIZE));
        CRiskModel back;
        const SSnapshot snapshot = MakeSnapshot(loaded, strTitle);
        ImportProject(back, MakeJsonExport(snapshot), true);
        // NaN weights come back as the one quiet NaN; all else bit for bit.
        const std::string strLoaded = MakeProjectBytes(loaded);
        const std::string strBack = MakeProjectBytes(back);
        Check(strLoaded.substr(0, 324) == strBack.substr(0, 324));
        MakeCsvExport(snapshot);
        MakeSvgChart(snapshot);
    }
    return 0;
}
