// velkor-report: the reports and exports of a project file, and the commands
// that go beyond one project (import, and those registered below).
//
//   velkor-report PROJECT.vlk OUTPUT   OUTPUT's extension chooses the format
//   velkor-report COMMAND ...          a first argument naming a command
//
// Exit status: 0 success, 1 a file error (its message on standard error),
// 2 bad usage.
#include "tools/Commands.h"

#include "files/File.h"

#include "files/HtmlReport.h"
#include "files/Path.h"
#include "files/ProjectFile.h"
#include "files/TextReport.h"
#include "model/RiskModel.h"
#include "tools/report/Export.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

#ifdef _WIN32
#include "files/Win32.h"

#include <fcntl.h>
#include <io.h>
#endif

namespace
{
// Every command's registration function; a new command adds one line here.
constexpr std::array s_apfnCommands = {&AddImportCommand, &AddCompareCommand, &AddPortfolioCommand,
                                       &AddImproveCommand};

// Names that are commands even before this build has them, so that a
// project file called like one never turns into a command later.
constexpr std::array<const char*, 3> s_apszReservedCommands = {"compare", "portfolio", "improve"};

const char s_szFormats[] = "OUTPUT's extension (any case) chooses the format:\n"
                           "  .txt   the text report          .htm  the HTML report\n"
                           "  .json  the project as data      .csv  the 28 probabilities\n"
                           "  .svg   the chart                .pdf  the printable A4 report\n"
                           "  -      the text report on standard output\n";

class CUsageFormatter : public CLI::Formatter
{
public:
    std::string make_usage(const CLI::App* pApp, std::string strName) const override
    {
        if (pApp->get_parent() != nullptr)
            return CLI::Formatter::make_usage(pApp, strName);
        return "Usage: velkor-report PROJECT.vlk OUTPUT\n"
               "       velkor-report COMMAND ...\n";
    }
};

int WriteReport(const std::string& strProject, const std::string& strOutput)
{
    const std::string strExtension = GetFileExtension(strOutput);
    const auto Is = [&](const char* pszExtension)
    { return EqualsIgnoreCase(strExtension, pszExtension); };
    const bool bStandardOutput = strOutput == "-";
    if (!bStandardOutput && !Is("txt") && !Is("htm") && !Is("json") && !Is("csv") && !Is("svg") &&
        !Is("pdf"))
        return UsageError(strExtension.empty()
                              ? "OUTPUT " + strOutput + " has no extension to choose the format"
                              : "." + strExtension + " is not a supported output format");
    // A report never replaces its own project, whatever name reaches it.
    if (IsSameFile(strProject, bStandardOutput ? "/dev/stdout" : strOutput))
    {
        PrintError((bStandardOutput ? std::string("standard output") : strOutput) +
                   " is the project file itself; nothing was written.");
        return EXIT_USAGE;
    }
    if (!bStandardOutput && Is("pdf"))
        return RunPdfWriter(strProject, strOutput);

    return RunGuarded(
        [&]
        {
            CRiskModel model;
            LoadProject(model, strProject);
            const std::string strTitle = GetFileTitle(strProject);
            if (bStandardOutput)
                WriteStandardOutput(MakeTextReport(model));
            else if (Is("txt"))
                WriteTextReport(model, strOutput);
            else if (Is("htm"))
                WriteHtmlReport(model, strOutput, strTitle);
            else if (Is("json"))
                WriteOutputFile(strOutput, MakeJsonExport(model, strTitle));
            else if (Is("csv"))
                WriteOutputFile(strOutput, MakeCsvExport(model));
            else
                WriteOutputFile(strOutput, MakeSvgChart(model, strTitle));
            return 0;
        });
}
} // namespace

int main(int argc, char** argv)
{
    InstallTemporaryFileCleanup(); // a signal removes a named temporary file
#ifdef _WIN32
    // Reports keep their exact bytes and messages their LF line ends; the
    // manifest makes argv UTF-8 (activeCodePage), and the console shows UTF-8.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    SetConsoleOutputCP(CP_UTF8);
#endif
    CLI::App app("Writes the reports and exports of Velkor project files.", "velkor-report");
    // "/dir/p.vlk" is a path on Windows too, never an option.
    app.allow_windows_style_options(false);
    auto pFormatter = std::make_shared<CUsageFormatter>();
    pFormatter->label("Subcommands", "Commands");
    pFormatter->label("TEXT", "");
    app.formatter(pFormatter);
    app.set_version_flag("--version", "velkor-report " VELKOR_VERSION);
    app.require_subcommand(0, 1);

    std::string strProject;
    std::string strOutput;
    app.add_option("PROJECT", strProject, "The project file (.vlk)");
    app.add_option("OUTPUT", strOutput, "The file to write; its extension chooses the format");

    CCommandContext context;
    for (const auto pfnAdd : s_apfnCommands)
        pfnAdd(app, context);
    app.footer(s_szFormats); // after the commands, which would inherit it

    // A first argument that names a command is that command; otherwise no
    // later argument is taken for one (an output file may be called "import").
    const std::string strFirst = argc > 1 ? argv[1] : "";
    const auto commands = app.get_subcommands([](CLI::App*) { return true; });
    const bool bRegistered =
        std::any_of(commands.begin(), commands.end(),
                    [&](CLI::App* pCommand) { return pCommand->check_name(strFirst); });
    const bool bReserved = std::find(s_apszReservedCommands.begin(), s_apszReservedCommands.end(),
                                     strFirst) != s_apszReservedCommands.end();
    if (bReserved && !bRegistered)
        return UsageError(strFirst + " is not a command of this version");
    if (!bRegistered && !strFirst.empty() && strFirst[0] != '-')
        for (CLI::App* pCommand : commands)
            pCommand->disabled();

    try
    {
        app.parse(argc, argv);
    }
    catch (const CLI::CallForHelp& e)
    {
        return app.exit(e);
    }
    catch (const CLI::CallForVersion& e)
    {
        return app.exit(e);
    }
    catch (const CLI::ParseError& e)
    {
        return UsageError(e.what());
    }

    if (!app.get_subcommands().empty())
        return context.nExit;
    if (app.count("PROJECT") == 0)
        return UsageError("PROJECT and OUTPUT are missing");
    if (app.count("OUTPUT") == 0)
        return UsageError("OUTPUT is missing");
    return WriteReport(strProject, strOutput);
}
