// velkor-report import INPUT.json OUTPUT.vlk: a project file from its JSON
// export (or a document of the same form), written as Save writes it.
#include "tools/Commands.h"

#include "files/File.h"
#include "files/Path.h"
#include "files/ProjectFile.h"
#include "input/Import.h"
#include "input/Numbers.h"

#include <CLI/CLI.hpp>

#include <optional>

namespace
{
// An export is about 16 KB; a larger input is no export (or /dev/zero).
constexpr std::size_t MAX_IMPORT_BYTES = 1024 * 1024;

// The input, or nothing when it is larger than MAX_IMPORT_BYTES.
std::optional<std::string> ReadInput(const std::string& strPath)
{
    CFile file(strPath, CFile::modeRead);
    std::string strBytes;
    char buffer[65536];
    while (const std::size_t n = file.Read(buffer, sizeof buffer))
    {
        strBytes.append(buffer, n);
        if (strBytes.size() > MAX_IMPORT_BYTES)
            return std::nullopt;
    }
    file.Close();
    return strBytes;
}

int RunImport(const std::string& strInput, const std::string& strOutput, bool bAnyWeights)
{
    if (!EqualsIgnoreCase(GetFileExtension(strOutput), "vlk"))
        return UsageError("import writes a project file: OUTPUT must end in .vlk",
                          "Usage: velkor-report import [--any-weights] INPUT.json OUTPUT.vlk\n");
    if (IsSameFile(strInput, strOutput))
    {
        PrintError(strOutput + " is the input " + strInput + "; nothing was written.");
        return EXIT_USAGE;
    }
    return RunGuarded(
        [&]
        {
            std::optional<std::string> input;
            try
            {
                input = ReadInput(strInput);
            }
            catch (const CFileException& e)
            {
                PrintError(DescribeFileError(e, "a JSON document"));
                return EXIT_FILE_ERROR;
            }
            if (!input)
            {
                PrintError(strInput +
                           ": larger than 1 MiB (an export is about 16 KB); not imported");
                return EXIT_FILE_ERROR;
            }
            const std::string& strJson = *input;
            CRiskModel model;
            try
            {
                ImportProject(model, strJson, bAnyWeights);
            }
            catch (const CImportError& e)
            {
                PrintError(strInput + ": " + e.what());
                return EXIT_FILE_ERROR;
            }
            SaveProject(model, strOutput);
            return 0;
        });
}
} // namespace

void AddImportCommand(CLI::App& app, CCommandContext& context)
{
    CLI::App* pCommand = app.add_subcommand(
        "import",
        "Writes the project file of a JSON export (velkor-report import IN.json OUT.vlk)");
    auto pInput = std::make_shared<std::string>();
    auto pOutput = std::make_shared<std::string>();
    auto pAnyWeights = std::make_shared<bool>(false);
    pCommand->add_option("INPUT", *pInput, "The JSON document")->required();
    pCommand->add_option("OUTPUT", *pOutput, "The project file to write (.vlk)")->required();
    pCommand->add_flag(
        "--any-weights", *pAnyWeights,
        "Takes the weights as they are, not only fractions from 0 to 1 that sum to 1");
    const char szUsage[] = "velkor-report import [--any-weights] INPUT.json OUTPUT.vlk";
    context.usages["import"] = std::string("Usage: ") + szUsage + "\n";
    pCommand->callback([&context, pInput, pOutput, pAnyWeights]
                       { context.nExit = RunImport(*pInput, *pOutput, *pAnyWeights); });
}
