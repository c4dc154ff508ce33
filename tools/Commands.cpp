#include "tools/Commands.h"

#include "files/File.h"
#include "files/FileException.h"
#include "files/Path.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#ifndef _WIN32
#include <unistd.h>
#endif

void PrintError(std::string_view strMessage)
{
    std::string strLine = "velkor-report: ";
    strLine.append(strMessage);
    strLine += '\n';
    std::fputs(strLine.c_str(), stderr);
}

int UsageError(std::string_view strMessage)
{
    PrintError(strMessage);
    std::fputs("Usage: velkor-report PROJECT.vlk OUTPUT\n"
               "       velkor-report COMMAND ...\n"
               "Run with --help for more information.\n",
               stderr);
    return EXIT_USAGE;
}

int RunGuarded(const std::function<int()>& fnWork)
{
    try
    {
        return fnWork();
    }
    catch (const CFileException& e)
    {
        PrintError(e.GetErrorMessage());
        return EXIT_FILE_ERROR;
    }
}

void WriteStandardOutput(const std::string& strBytes)
{
    WriteToDescriptor(STDOUT_FILENO, strBytes.data(), strBytes.size(), "standard output");
}

void WriteOutputFile(const std::string& strPath, const std::string& strBytes)
{
    CFile file(strPath, CFile::modeCreateNoSync);
    file.Write(strBytes.data(), strBytes.size());
    file.Close();
}

int RunPdfWriter(const std::string& strProject, const std::string& strOutput)
{
#ifdef _WIN32
    (void)strProject;
    (void)strOutput;
    PrintError("this build of velkor-report cannot write PDF reports");
    return EXIT_FILE_ERROR;
#else
    const std::string strSelf = GetOwnExecutablePath();
    const bool error = strSelf.empty();
    const std::filesystem::path folder = std::filesystem::path(strSelf).parent_path();
    for (const auto& candidate :
         {folder / "velkor-report-pdf", folder / ".." / "lib" / "velkor" / "velkor-report-pdf"})
    {
        if (error || access(candidate.c_str(), X_OK) != 0)
            continue;
        std::string strProgram = candidate.string();
        std::string strProjectArg = strProject;
        std::string strOutputArg = strOutput;
        char* argv[] = {strProgram.data(), strProjectArg.data(), strOutputArg.data(), nullptr};
        std::fflush(stdout);
        execv(argv[0], argv);
        PrintError("cannot start " + strProgram + ": " + std::generic_category().message(errno));
        return EXIT_FILE_ERROR;
    }
    PrintError("the PDF writer velkor-report-pdf is not installed next to velkor-report");
    return EXIT_FILE_ERROR;
#endif
}
