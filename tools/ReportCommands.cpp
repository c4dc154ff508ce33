// velkor-report compare, portfolio and improve: their command lines. The work
// is done by the functions in report/, which the tests call directly.
#include "tools/Commands.h"

#include "files/File.h"
#include "files/Path.h"
#include "files/ProjectFile.h"
#include "report/Compare.h"
#include "report/Improve.h"
#include "report/Portfolio.h"

#include <CLI/CLI.hpp>

#include <functional>
#include <memory>

namespace
{
const char s_szOutputHelp[] = "The file to write instead of standard output";

// The help's footer of each of these commands.
std::string Footer(const char* pszDefault)
{
    return std::string("OUTPUT's extension (any case) chooses the format:\n"
                       "  .txt   text for people, aligned\n"
                       "  .json  every value, numbers in their shortest exact form\n"
                       "  .csv   a table of the values, numbers as in JSON\n"
                       "Without -o, ") +
           pszDefault + " goes to standard output.\n";
}

// Adds -o OUTPUT.
void AddOutputOption(CLI::App& command, std::string& strOutput, const char* pszDefault)
{
    command.add_option("-o,--output", strOutput, s_szOutputHelp)->type_name("OUTPUT");
    command.footer(Footer(pszDefault));
}

bool IsStandardOutput(const std::string& strOutput)
{
    return strOutput.empty() || strOutput == "-";
}

// Runs fnWork with the format OUTPUT asks for, fallback without -o; an
// extension of no format, or an OUTPUT that is one of the inputs, is a usage
// error; a file error exits 1.
int RunWithFormat(const std::string& strOutput, EOutputFormat fallback,
                  const std::vector<std::string>& inputs,
                  const std::function<int(EOutputFormat)>& fnWork)
{
    const std::optional<EOutputFormat> format = OutputFormatOf(strOutput, fallback);
    if (!format)
    {
        const std::string strExtension = GetFileExtension(strOutput);
        return UsageError(strExtension.empty()
                              ? "OUTPUT " + strOutput + " has no extension to choose the format"
                              : "." + strExtension +
                                    " is not a supported output format here (.txt, .json, .csv)");
    }
    // The output never replaces a project it reads, whatever name reaches it.
    const bool bStandardOutput = IsStandardOutput(strOutput);
    for (const std::string& strInput : inputs)
        if (IsSameFile(strInput, bStandardOutput ? "/dev/stdout" : strOutput))
        {
            PrintError((bStandardOutput ? std::string("standard output") : strOutput) + " is " +
                       strInput + ", a project to read; nothing was written.");
            return EXIT_USAGE;
        }
    return RunGuarded([&] { return fnWork(*format); });
}

void Write(const std::string& strOutput, const std::string& strBytes)
{
    if (IsStandardOutput(strOutput))
        WriteStandardOutput(strBytes);
    else
        WriteOutputFile(strOutput, strBytes);
}

struct SCompareArgs
{
    std::string strOld, strNew, strOutput;
};

int RunCompare(const SCompareArgs& args)
{
    return RunWithFormat(args.strOutput, EOutputFormat::text, {args.strOld, args.strNew},
                         [&](EOutputFormat format)
                         {
                             CRiskModel old, now;
                             LoadProject(old, args.strOld);
                             LoadProject(now, args.strNew);
                             Write(args.strOutput, MakeCompareOutput({old, args.strOld},
                                                                     {now, args.strNew}, format));
                             return 0;
                         });
}

struct SImproveArgs
{
    std::string strProject, strOutput;
    std::size_t nTop = 10;
};

int RunImprove(const SImproveArgs& args)
{
    return RunWithFormat(args.strOutput, EOutputFormat::text, {args.strProject},
                         [&](EOutputFormat format)
                         {
                             CRiskModel model;
                             LoadProject(model, args.strProject);
                             Write(args.strOutput, MakeImproveOutput(model, args.nTop, format));
                             return 0;
                         });
}

struct SPortfolioArgs
{
    std::vector<std::string> paths;
    std::string strOutput;
};

int RunPortfolio(const SPortfolioArgs& args)
{
    return RunWithFormat(
        args.strOutput, EOutputFormat::csv, args.paths,
        [&](EOutputFormat format)
        {
            // The paths are found first, so a missing PATH is reported before
            // any row; then each file's trouble as it is met.
            std::vector<SPortfolioError> errors;
            const std::vector<std::string> projects = CollectProjects(args.paths, errors);
            for (const SPortfolioError& error : errors)
                PrintError(error.strMessage);

            CFile file;
            const bool bFile = !IsStandardOutput(args.strOutput);
            if (bFile)
                file.Open(args.strOutput, CFile::modeCreateNoSync);
            COutput out(
                [&](std::string_view bytes)
                {
                    if (bFile)
                        file.Write(bytes.data(), bytes.size());
                    else
                        WriteStandardOutput(std::string(bytes));
                });
            WritePortfolio(projects, format, out, errors,
                           [](const SPortfolioError& error) { PrintError(error.strMessage); });
            out.Close();
            if (bFile)
                file.Close();
            return errors.empty() ? 0 : EXIT_FILE_ERROR;
        });
}
} // namespace

void AddCompareCommand(CLI::App& app, CCommandContext& context)
{
    CLI::App* pCommand =
        app.add_subcommand("compare", "Shows what changed between two assessments (velkor-report "
                                      "compare OLD.vlk NEW.vlk [-o OUTPUT])");
    auto pArgs = std::make_shared<SCompareArgs>();
    pCommand->add_option("OLD", pArgs->strOld, "The earlier project file")->required();
    pCommand->add_option("NEW", pArgs->strNew, "The later project file")->required();
    AddOutputOption(*pCommand, pArgs->strOutput, "text");
    pCommand->callback([&context, pArgs] { context.nExit = RunCompare(*pArgs); });
}

void AddImproveCommand(CLI::App& app, CCommandContext& context)
{
    CLI::App* pCommand =
        app.add_subcommand("improve", "Lists the answers that raise the total most (velkor-report "
                                      "improve PROJECT [--top N] [-o OUTPUT])");
    auto pArgs = std::make_shared<SImproveArgs>();
    pCommand->add_option("PROJECT", pArgs->strProject, "The project file")->required();
    pCommand->add_option("--top", pArgs->nTop, "How many suggestions, largest gain first; 0: all")
        ->type_name("N")
        ->default_val(10)
        ->check(CLI::Validator(
            [](const std::string& str)
            {
                return str.find_first_not_of("0123456789") == std::string::npos && !str.empty()
                           ? std::string()
                           : "needs a whole number, 0 or more, not " + str;
            },
            "N"));
    AddOutputOption(*pCommand, pArgs->strOutput, "text");
    pCommand->callback([&context, pArgs] { context.nExit = RunImprove(*pArgs); });
}

void AddPortfolioCommand(CLI::App& app, CCommandContext& context)
{
    CLI::App* pCommand = app.add_subcommand(
        "portfolio", "One row per project file (velkor-report portfolio [-o OUTPUT] PATH...)");
    auto pArgs = std::make_shared<SPortfolioArgs>();
    pCommand
        ->add_option("PATH", pArgs->paths,
                     "Project files, and folders searched for *.vlk in any case")
        ->required();
    AddOutputOption(*pCommand, pArgs->strOutput, "CSV");
    pCommand->callback([&context, pArgs] { context.nExit = RunPortfolio(*pArgs); });
}
