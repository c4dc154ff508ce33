// velkor-report compare, portfolio, improve and trend: their command lines.
// The work is done by the functions in report/, which the tests call directly.
#include "tools/Commands.h"

#include "files/File.h"
#include "files/Path.h"
#include "report/Compare.h"
#include "report/Improve.h"
#include "report/Portfolio.h"
#include "report/Trend.h"

#include <CLI/CLI.hpp>

#include <cmath>
#include <functional>
#include <memory>

// Adds -o OUTPUT, --format and the footer listing the formats the command
// writes; registers the command's usage line.
void AddOutputOptions(CLI::App& command, SOutputArgs& args, CCommandContext& context,
                      ECommand eCommand, const std::string& strUsage)
{
    args.formats = FormatsOf(eCommand);
    args.strUsage = "Usage: " + strUsage + "\n";
    context.usages[command.get_name()] = args.strUsage;
    std::vector<std::string> names;
    for (const EOutputFormat eFormat : args.formats)
        names.push_back(eFormat == EOutputFormat::text ? "text"
                                                       : OutputFormatInfo(eFormat).pszExtension);
    command
        .add_option("-o,--output", args.strOutput, "The file to write instead of standard output")
        ->type_name("OUTPUT");
    command.add_option("--format", args.strFormat, "The form on standard output (default text)")
        ->type_name("FORMAT")
        ->check(CLI::IsMember(names));
    command.footer("OUTPUT's extension (any case) chooses the format:\n" +
                   DataFormatsHelp(args.formats) +
                   "Without -o, the text goes to standard output; --format " +
                   CLI::detail::join(names, "|") + " chooses another form there.\n");
}

bool IsStandardOutput(const std::string& strOutput)
{
    return strOutput.empty() || strOutput == "-";
}

// Runs fnWork with the format asked for; an extension of no format, a
// --format that OUTPUT's extension contradicts, or an OUTPUT that is one of
// the inputs is a usage error; a file error exits 1.
int RunWithFormat(const SOutputArgs& args, const std::vector<std::string>& inputs,
                  const std::function<int(EOutputFormat)>& fnWork)
{
    const std::optional<EOutputFormat> chosen = args.strFormat.empty() ? std::nullopt
                                                : args.strFormat == "text"
                                                    ? std::optional(EOutputFormat::text)
                                                    : FormatOfExtension(args.strFormat);
    const std::optional<EOutputFormat> format =
        OutputFormatOf(args.strOutput, chosen.value_or(EOutputFormat::text), args.formats);
    if (!format)
    {
        const std::string strExtension = GetFileExtension(args.strOutput);
        return UsageError(strExtension.empty()
                              ? "OUTPUT " + args.strOutput +
                                    " has no extension to choose the format"
                              : "." + strExtension + " is not a supported output format here (" +
                                    ExtensionList(args.formats) + ")",
                          args.strUsage);
    }
    if (chosen && *chosen != *format)
        return UsageError("--format " + args.strFormat + " does not match OUTPUT " + args.strOutput,
                          args.strUsage);
    // The output never replaces a project it reads, whatever name reaches it.
    const bool bStandardOutput = IsStandardOutput(args.strOutput);
    for (const std::string& strInput : inputs)
        if (IsSameFile(strInput, bStandardOutput ? "/dev/stdout" : args.strOutput))
        {
            PrintError((bStandardOutput ? std::string("standard output") : args.strOutput) +
                       " is " + strInput + ", a project to read; nothing was written.");
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

namespace
{
struct SCompareArgs : SOutputArgs
{
    std::string strOld, strNew;
};

int RunCompare(const SCompareArgs& args)
{
    return RunWithFormat(args, {args.strOld, args.strNew},
                         [&](EOutputFormat format)
                         {
                             const SCompareSide old{ReadProject(args.strOld), args.strOld};
                             const SCompareSide now{ReadProject(args.strNew), args.strNew};
                             Write(args.strOutput, MakeCompareOutput(old, now, format));
                             return 0;
                         });
}

struct SImproveArgs : SOutputArgs
{
    std::string strProject;
    std::size_t nTop = 10;
    std::string strTarget; // a percentage; empty: no plan
};

int RunImprove(const SImproveArgs& args)
{
    double dTarget = 0;
    if (!args.strTarget.empty())
    {
        std::string strNumber = args.strTarget;
        if (strNumber.back() == '%')
            strNumber.pop_back();
        std::size_t nEnd = 0;
        try
        {
            dTarget = std::stod(strNumber, &nEnd);
        }
        catch (const std::exception&)
        {
            nEnd = 0;
        }
        if (strNumber.empty() || nEnd != strNumber.size() || !(dTarget > 0 && dTarget <= 100))
            return UsageError("--target takes a percentage above 0 and up to 100, not " +
                                  args.strTarget,
                              args.strUsage);
    }
    return RunWithFormat(args, {args.strProject},
                         [&](EOutputFormat format)
                         {
                             const SSnapshot snapshot = ReadProject(args.strProject);
                             Write(args.strOutput,
                                   args.strTarget.empty()
                                       ? MakeImproveOutput(snapshot, args.nTop, format)
                                       : MakePlanOutput(snapshot, dTarget / 100.0, format));
                             return 0;
                         });
}

struct SPortfolioArgs : SOutputArgs
{
    std::vector<std::string> paths;
    std::string strSort = "path";
};

int RunPortfolio(const SPortfolioArgs& args)
{
    return RunWithFormat(
        args, args.paths,
        [&](EOutputFormat format)
        {
            // The paths are found first, so a missing PATH is reported before
            // any row; then each file's trouble as it is met.
            std::vector<SPortfolioError> errors;
            const std::vector<std::string> projects = CollectProjects(args.paths, errors);
            // Nor does the output of a whole folder replace a project in it.
            const bool bStandardOutput = IsStandardOutput(args.strOutput);
            if (const int nProject =
                    FindSameFile(bStandardOutput ? "/dev/stdout" : args.strOutput, projects);
                nProject >= 0)
            {
                PrintError((bStandardOutput ? std::string("standard output") : args.strOutput) +
                           " is " + projects[static_cast<std::size_t>(nProject)] +
                           ", a project to read; nothing was written.");
                return EXIT_USAGE;
            }
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
            WritePortfolio(
                projects, format, out, errors,
                [](const SPortfolioError& error) { PrintError(error.strMessage); },
                args.strSort == "total" ? EPortfolioSort::total : EPortfolioSort::path,
                [](const std::string& strWarning) { PrintError("warning: " + strWarning); });
            out.Close();
            if (bFile)
                file.Close();
            return errors.empty() ? 0 : EXIT_FILE_ERROR;
        });
}

struct STrendArgs : SOutputArgs
{
    std::vector<std::string> paths;
};

int RunTrend(const STrendArgs& args)
{
    return RunWithFormat(args, args.paths,
                         [&](EOutputFormat format)
                         {
                             std::vector<STrendPoint> points;
                             for (const std::string& strPath : args.paths)
                                 points.push_back({ReadProject(strPath), strPath});
                             Write(args.strOutput, MakeTrendOutput(points, format));
                             return 0;
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
    AddOutputOptions(*pCommand, *pArgs, context, CMD_COMPARE,
                     "velkor-report compare OLD.vlk NEW.vlk [-o OUTPUT] [--format FORMAT]");
    pCommand->callback([&context, pArgs] { context.nExit = RunCompare(*pArgs); });
}

void AddImproveCommand(CLI::App& app, CCommandContext& context)
{
    CLI::App* pCommand =
        app.add_subcommand("improve", "Lists the answers that raise the total most (velkor-report "
                                      "improve PROJECT [--top N | --target PERCENT] [-o OUTPUT])");
    auto pArgs = std::make_shared<SImproveArgs>();
    pCommand->add_option("PROJECT", pArgs->strProject, "The project file")->required();
    CLI::Option* pTop =
        pCommand
            ->add_option("--top", pArgs->nTop,
                         "How many suggestions, largest gain first; 0: all (default 10)")
            ->type_name("N")
            ->check(CLI::Validator(
                [](const std::string& str)
                {
                    return str.find_first_not_of("0123456789") == std::string::npos && !str.empty()
                               ? std::string()
                               : "needs a whole number, 0 or more, not " + str;
                },
                ""));
    pCommand
        ->add_option(
            "--target", pArgs->strTarget,
            "A plan instead: the changes, one step at a time, that raise the total to PERCENT")
        ->type_name("PERCENT")
        ->excludes(pTop);
    AddOutputOptions(
        *pCommand, *pArgs, context, CMD_IMPROVE,
        "velkor-report improve PROJECT [--top N | --target PERCENT] [-o OUTPUT] [--format FORMAT]");
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
    pCommand->add_option("--sort", pArgs->strSort, "path (default), or total: the riskiest first")
        ->type_name("ORDER")
        ->check(CLI::IsMember({"path", "total"}));
    AddOutputOptions(
        *pCommand, *pArgs, context, CMD_PORTFOLIO,
        "velkor-report portfolio [--sort path|total] [-o OUTPUT] [--format FORMAT] PATH...");
    pCommand->callback([&context, pArgs] { context.nExit = RunPortfolio(*pArgs); });
}

void AddTrendCommand(CLI::App& app, CCommandContext& context)
{
    CLI::App* pCommand = app.add_subcommand(
        "trend",
        "A project's history: its assessments in the order given (velkor-report trend FILE...)");
    auto pArgs = std::make_shared<STrendArgs>();
    pCommand->add_option("FILE", pArgs->paths, "The project files, oldest first")->required();
    AddOutputOptions(*pCommand, *pArgs, context, CMD_TREND,
                     "velkor-report trend [-o OUTPUT] [--format FORMAT] FILE...");
    pCommand->callback([&context, pArgs] { context.nExit = RunTrend(*pArgs); });
}
