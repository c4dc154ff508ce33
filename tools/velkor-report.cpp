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
#include "files/Path.h"
#include "report/Formats.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include "files/Win32.h"

#include <fcntl.h>
#include <io.h>
#endif
#include <sys/stat.h>

namespace
{
// Every command's registration function; a new command adds one line here.
constexpr std::array s_apfnCommands = {
    &AddImportCommand, &AddCompareCommand, &AddPortfolioCommand,   &AddImproveCommand,
    &AddTrendCommand,  &AddTeamCommand,    &AddSensitivityCommand, &AddCalibrateCommand};

// Names that are commands even before this build has them, so that a
// project file called like one never turns into a command later.
constexpr std::array<const char*, 7> s_apszReservedCommands = {
    "compare", "portfolio", "improve", "trend", "team", "sensitivity", "calibrate"};

// The help's list of formats, from the table of formats.
std::string FormatsFooter()
{
    return "OUTPUT's extension (any case) chooses the format:\n" + ReportFormatsHelp() +
           "  -      the text report on standard output\n"
           "In a web browser, without a command line: velkor-analysis.html (Velkor Analysis).\n";
}

// The usage lines: velkor-report's, and each command's as it registered it.
class CUsageFormatter : public CLI::Formatter
{
public:
    explicit CUsageFormatter(const CCommandContext& context) : m_context(context) {}

    std::string make_usage(const CLI::App* pApp, std::string strName) const override
    {
        if (pApp->get_parent() == nullptr)
            return g_szUsage;
        const auto it = m_context.usages.find(pApp->get_name());
        return it != m_context.usages.end() ? it->second
                                            : CLI::Formatter::make_usage(pApp, strName);
    }

private:
    const CCommandContext& m_context;
};

// The exit status of help or version text once it reached standard output;
// a file error when it could not be written (a full device).
int FlushedExit(int nExit)
{
    std::cout.flush();
    const bool bFailed = std::fflush(stdout) != 0 || std::ferror(stdout) || !std::cout;
    if (!bFailed)
        return nExit;
    const int nErrno = errno != 0 ? errno : EIO;
    PrintError(DescribeFileError(
        CFileException(CFileException::CauseFromErrno(nErrno), "standard output", nErrno)));
    return EXIT_FILE_ERROR;
}

// The page's dates: now, and when the project file was last changed.
SPdfOptions PdfOptions(const std::string& strProject)
{
    SPdfOptions options;
    options.strMade = FormatReportTime(std::time(nullptr));
    struct stat st = {};
    if (stat(strProject.c_str(), &st) == 0)
        options.strModified = FormatReportTime(st.st_mtime);
    options.fontFolders = PdfFontFolders(GetOwnExecutablePath());
    return options;
}

int WriteReport(const std::string& strProject, const std::string& strOutput)
{
    const std::string strExtension = GetFileExtension(strOutput);
    const bool bStandardOutput = strOutput == "-";
    const auto format = bStandardOutput ? EOutputFormat::text : FormatOfExtension(strExtension);
    if (!format)
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

    return RunGuarded(
        [&]
        {
            const SSnapshot snapshot = ReadProject(strProject);
            const SPdfOptions pdf =
                *format == EOutputFormat::pdf ? PdfOptions(strProject) : SPdfOptions();
            const std::string strBytes = OutputFormatInfo(*format).pfnReport(snapshot, pdf);
            if (bStandardOutput)
                WriteStandardOutput(strBytes);
            else if (!strBytes.empty()) // a build without the HTML template writes no HTML
                WriteOutputFile(strOutput, strBytes,
                                *format == EOutputFormat::text ? CFile::modeCreateShared
                                                               : CFile::modeCreateNoSync);
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
    std::setvbuf(stderr, nullptr, _IONBF, 0); // as on Linux, even into a file or pipe
    SetConsoleOutputCP(CP_UTF8);
#endif
    CLI::App app("Writes the reports and exports of Velkor project files.", "velkor-report");
    // "/dir/p.vlk" is a path on Windows too, never an option.
    app.allow_windows_style_options(false);
    CCommandContext context;
    auto pFormatter = std::make_shared<CUsageFormatter>(context);
    pFormatter->label("Subcommands", "Commands");
    pFormatter->label("TEXT", "");
    app.formatter(pFormatter);
    app.set_version_flag("--version", "velkor-report " VELKOR_VERSION);
    app.require_subcommand(0, 1);

    std::string strProject;
    std::string strOutput;
    app.add_option("PROJECT", strProject, "The project file (.vlk)");
    app.add_option("OUTPUT", strOutput, "The file to write; its extension chooses the format");

    for (const auto pfnAdd : s_apfnCommands)
        pfnAdd(app, context);
    app.footer(FormatsFooter()); // after the commands, which would inherit it

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
        errno = 0; // what a failed write sets, for the message
        return FlushedExit(app.exit(e));
    }
    catch (const CLI::CallForVersion& e)
    {
        errno = 0; // what a failed write sets, for the message
        return FlushedExit(app.exit(e));
    }
    catch (const CLI::ParseError& e)
    {
        // A command's own mistakes get that command's usage.
        const auto it = context.usages.find(strFirst);
        return UsageError(e.what(),
                          bRegistered && it != context.usages.end() ? it->second : g_szUsage);
    }

    if (!app.get_subcommands().empty())
        return context.nExit;
    if (app.count("PROJECT") == 0)
        return UsageError("PROJECT and OUTPUT are missing");
    if (app.count("OUTPUT") == 0)
        return UsageError("OUTPUT is missing");
    return WriteReport(strProject, strOutput);
}
