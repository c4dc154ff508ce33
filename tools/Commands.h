// What the commands of velkor-report share: how they report failures, how
// they read projects and write their output, and the registration function
// of each command.
//
// A command is one function in its own file that adds a CLI11 subcommand
// to the app; its callback stores the exit status in the context. main
// calls every registration function in s_apfnCommands (velkor-report.cpp).
#pragma once

#include "files/File.h"
#include "report/Formats.h"
#include "report/Snapshot.h"

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace CLI
{
class App;
}

constexpr int EXIT_FILE_ERROR = 1;
constexpr int EXIT_USAGE = 2;

// The usage lines of velkor-report itself.
extern const char g_szUsage[];

struct CCommandContext
{
    int nExit = 0;                             // set by the command that ran
    std::map<std::string, std::string> usages; // each command's usage line
};

// "velkor-report: <message>" and a line feed on standard error.
void PrintError(std::string_view strMessage);

// A usage error: the message, the usage (velkor-report's or one command's)
// and the pointer to --help on standard error; returns EXIT_USAGE.
int UsageError(std::string_view strMessage, std::string_view strUsage = g_szUsage);

// Runs the command's work; a file error, a wrong file or a PDF that cannot
// be made prints its message and gives EXIT_FILE_ERROR. Returns the
// command's exit status.
int RunGuarded(const std::function<int()>& fnWork);

// The project strPath for a report: a wrong file throws, a warning is printed.
SSnapshot ReadProject(const std::string& strPath);

// Writes bytes to standard output; a failure throws CFileException naming
// "standard output".
void WriteStandardOutput(const std::string& strBytes);

// Writes bytes to strPath, replacing the file only once it is complete. The
// text report is stream output (CFile::modeCreateShared): written even while
// another program holds or locks the file.
void WriteOutputFile(const std::string& strPath, const std::string& strBytes,
                     CFile::OpenMode mode = CFile::modeCreateNoSync);

// -o OUTPUT and --format FORMAT of one command.
struct SOutputArgs
{
    std::string strOutput;
    std::string strFormat;              // text, csv, json (svg for some); empty: by OUTPUT, or text
    std::string strUsage;               // the command's usage line
    std::vector<EOutputFormat> formats; // from the table of formats
};

// Adds -o OUTPUT, --format and the footer listing the formats the command
// writes; registers the command's usage line.
void AddOutputOptions(CLI::App& command, SOutputArgs& args, CCommandContext& context,
                      ECommand eCommand, const std::string& strUsage);

// "" or "-": standard output.
bool IsStandardOutput(const std::string& strOutput);

// Runs fnWork with the format asked for; an extension of no format, a
// --format that OUTPUT's extension contradicts, or an OUTPUT that is one of
// the inputs is a usage error; a file error exits 1.
int RunWithFormat(const SOutputArgs& args, const std::vector<std::string>& inputs,
                  const std::function<int(EOutputFormat)>& fnWork);

// The bytes to OUTPUT, or to standard output.
void Write(const std::string& strOutput, const std::string& strBytes);

// The registration function of each command.
void AddImportCommand(CLI::App& app, CCommandContext& context);
void AddCompareCommand(CLI::App& app, CCommandContext& context);
void AddPortfolioCommand(CLI::App& app, CCommandContext& context);
void AddImproveCommand(CLI::App& app, CCommandContext& context);
void AddTrendCommand(CLI::App& app, CCommandContext& context);
void AddTeamCommand(CLI::App& app, CCommandContext& context);
void AddSensitivityCommand(CLI::App& app, CCommandContext& context);
void AddCalibrateCommand(CLI::App& app, CCommandContext& context);
