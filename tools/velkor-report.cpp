// velkor-report: writes the text or HTML report of a project file, the same
// bytes as Save As in the program after opening the project.
//
// Exit status: 0 success, 1 a file error (its message on standard error),
// 2 bad usage.
#include "files/File.h"
#include "files/FileException.h"
#include "files/HtmlReport.h"
#include "files/ProjectFile.h"
#include "files/TextReport.h"
#include "model/RiskModel.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

namespace
{
constexpr int EXIT_FILE_ERROR = 1;
constexpr int EXIT_USAGE = 2;

const char s_szUsage[] = "Usage: velkor-report PROJECT.vlk OUTPUT\n"
                         "Writes the report of a Velkor project file. OUTPUT's extension chooses\n"
                         "the report: .txt a text report, .htm an HTML report; OUTPUT - writes\n"
                         "the text report to standard output.\n"
                         "  --help     show this text\n"
                         "  --version  show the program's version\n";

int Usage()
{
    std::fputs(s_szUsage, stderr);
    return EXIT_USAGE;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
    {
        const auto Lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    }
    return true;
}

void WriteStandardOutput(const std::string& strText)
{
    WriteToDescriptor(STDOUT_FILENO, strText.data(), strText.size(), "standard output");
}
} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args;
    bool bOptions = true;
    for (int i = 1; i < argc; ++i)
    {
        const std::string_view arg = argv[i];
        if (bOptions && arg == "--")
            bOptions = false;
        else if (bOptions && arg == "--help")
        {
            std::fputs(s_szUsage, stdout);
            return 0;
        }
        else if (bOptions && arg == "--version")
        {
            std::puts("velkor-report " VELKOR_VERSION);
            return 0;
        }
        else if (bOptions && arg.size() > 1 && arg[0] == '-')
            return Usage();
        else
            args.emplace_back(arg);
    }
    if (args.size() != 2)
        return Usage();

    const std::string& strProject = args[0];
    const std::string& strOutput = args[1];
    const std::string strExtension = GetFileExtension(strOutput);
    const bool bStandardOutput = strOutput == "-";
    const bool bText = bStandardOutput || EqualsIgnoreCase(strExtension, "txt");
    if (!bText && !EqualsIgnoreCase(strExtension, "htm"))
        return Usage();

    // The file layer's hooks: a signal removes a temporary file, and a
    // report never replaces its own project.
    InstallTemporaryFileCleanup();
    if (IsSameFile(strProject, bStandardOutput ? "/dev/stdout" : strOutput))
    {
        std::fprintf(stderr, "velkor-report: %s is the project file itself; nothing was written.\n",
                     bStandardOutput ? "standard output" : strOutput.c_str());
        return EXIT_USAGE;
    }

    try
    {
        CRiskModel model;
        LoadProject(model, strProject);
        if (bStandardOutput)
            WriteStandardOutput(MakeTextReport(model));
        else if (bText)
            WriteTextReport(model, strOutput);
        else
            WriteHtmlReport(model, strOutput, GetFileTitle(strProject));
    }
    catch (const CFileException& e)
    {
        std::fprintf(stderr, "%s\n", e.GetErrorMessage().c_str());
        return EXIT_FILE_ERROR;
    }
    return 0;
}
