#include "tools/Commands.h"

#include "files/File.h"
#include "files/FileException.h"
#include "report/PdfReport.h"
#include "report/ProjectLoad.h"

#include <cstdio>

#ifndef _WIN32
#include <unistd.h>
#endif

const char g_szUsage[] = "Usage: velkor-report PROJECT.vlk OUTPUT\n"
                         "       velkor-report COMMAND ...\n";

void PrintError(std::string_view strMessage)
{
    std::string strLine = "velkor-report: ";
    strLine.append(strMessage);
    strLine += '\n';
    std::fputs(strLine.c_str(), stderr);
}

int UsageError(std::string_view strMessage, std::string_view strUsage)
{
    PrintError(strMessage);
    std::string strText(strUsage);
    strText += "Run with --help for more information.\n";
    std::fputs(strText.c_str(), stderr);
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
        PrintError(DescribeFileError(e));
    }
    catch (const CWrongFileError& e)
    {
        PrintError(e.what());
    }
    catch (const CPdfError& e)
    {
        PrintError(e.what());
    }
    return EXIT_FILE_ERROR;
}

SSnapshot ReadProject(const std::string& strPath)
{
    return LoadSnapshot(strPath, [](const std::string& strWarning)
                        { PrintError("warning: " + strWarning); });
}

void WriteStandardOutput(const std::string& strBytes)
{
    WriteToDescriptor(STDOUT_FILENO, strBytes.data(), strBytes.size(), "standard output");
}

void WriteOutputFile(const std::string& strPath, const std::string& strBytes, CFile::OpenMode mode)
{
    CFile file(strPath, mode);
    file.Write(strBytes.data(), strBytes.size());
    file.Close();
}
