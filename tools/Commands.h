// What the commands of velkor-report share: how they report failures, how
// they write their output, and the registration function of each command.
//
// A command is one function in its own file that adds a CLI11 subcommand
// to the app; its callback stores the exit status in the context. main
// calls every registration function in s_apfnCommands (velkor-report.cpp).
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace CLI
{
class App;
}

constexpr int EXIT_FILE_ERROR = 1;
constexpr int EXIT_USAGE = 2;

struct CCommandContext
{
    int nExit = 0; // set by the command that ran
};

// "velkor-report: <message>" and a line feed on standard error.
void PrintError(std::string_view strMessage);

// A usage error found after parsing: the message, the usage line and the
// pointer to --help on standard error; returns EXIT_USAGE.
int UsageError(std::string_view strMessage);

// Runs the command's work; a CFileException prints its message and gives
// EXIT_FILE_ERROR. Returns the command's exit status.
int RunGuarded(const std::function<int()>& fnWork);

// Writes bytes to standard output; a failure throws CFileException naming
// "standard output".
void WriteStandardOutput(const std::string& strBytes);

// Writes bytes to strPath, replacing the file only once it is complete.
void WriteOutputFile(const std::string& strPath, const std::string& strBytes);

// The PDF report, made by the separate program velkor-report-pdf (the only
// one that loads Qt) beside this one or in ../lib/velkor/. Replaces this
// process; returns EXIT_FILE_ERROR only when that program cannot be started.
int RunPdfWriter(const std::string& strProject, const std::string& strOutput);

// The registration function of each command.
void AddImportCommand(CLI::App& app, CCommandContext& context);
void AddCompareCommand(CLI::App& app, CCommandContext& context);
void AddPortfolioCommand(CLI::App& app, CCommandContext& context);
void AddImproveCommand(CLI::App& app, CCommandContext& context);
