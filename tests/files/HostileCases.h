// Helpers of the hostile-files tables (HostileFileTest.cpp,
// PlantedFileTest.cpp): checks that say what went wrong, and the table's
// test, named after each case.
#pragma once

#include "FileTestSupport.h"

#include "files/File.h"

#include <cctype>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace hostile
{
// The file layer built without the Linux-only calls cannot see extended
// attributes or ACLs (the README says so).
#ifdef VELKOR_PORTABLE_POSIX
constexpr bool PORTABLE_FILE_LAYER = true;
#else
constexpr bool PORTABLE_FILE_LAYER = false;
#endif
constexpr const char* NO_ATTRIBUTES_SKIP =
    "skip: the portable file layer does not see extended attributes or ACLs";

// "" when the check holds, else what went wrong.
inline std::string Check(bool bHolds, const std::string& strWhat)
{
    return bHolds ? "" : strWhat + "; ";
}

inline std::string Message(const std::function<void()>& f)
{
    try
    {
        f();
        return "";
    }
    catch (const CFileException& e)
    {
        return e.GetErrorMessage();
    }
}

inline std::string Attribute(const std::string& strPath, const char* pszName)
{
    std::string strValue(256, '\0');
    const ssize_t n = getxattr(strPath.c_str(), pszName, strValue.data(), strValue.size());
    return n < 0 ? "(none)" : strValue.substr(0, static_cast<std::size_t>(n));
}

inline struct stat Stat(const std::string& strPath)
{
    struct stat st = {};
    stat(strPath.c_str(), &st);
    return st;
}

// A project unlike a new one.
inline const CRiskModel& Distinct()
{
    static CRiskModel s_model;
    static const bool s_bMade = (MakeDistinctive(s_model), true);
    (void)s_bMade;
    return s_model;
}

// Sets a kernel setting under /proc/sys for as long as it lives; Ok() is
// false where it cannot be set.
class CSysctl
{
public:
    CSysctl(std::string strPath, const std::string& strValue) : m_strPath(std::move(strPath))
    {
        m_strOld = ReadBytes(m_strPath);
        std::ofstream out(m_strPath);
        m_bOk = !m_strOld.empty() && (out << strValue).flush().good();
    }
    ~CSysctl()
    {
        if (m_bOk)
            std::ofstream(m_strPath) << m_strOld;
    }
    bool Ok() const { return m_bOk; }

private:
    std::string m_strPath;
    std::string m_strOld;
    bool m_bOk = false;
};

inline bool HaveProgram(const char* pszName)
{
    return std::system(("command -v " + std::string(pszName) + " >/dev/null 2>&1").c_str()) == 0;
}

// Everything in strDir that starts with a dot: temporary files and copies.
inline std::vector<std::string> HiddenNames(const std::string& strDir)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(strDir))
        if (entry.path().filename().string().starts_with("."))
            names.push_back(entry.path().filename().string());
    return names;
}

// Saves the distinct project over a new project's bytes in strPath after
// prepare ("skip: ..." or a failure stops there), and checks that the new
// bytes arrived and no hidden temporary file was left.
inline std::string SaveOver(const std::string& strPath, const std::function<std::string()>& prepare)
{
    WriteBytes(strPath, MakeProjectBytes(CRiskModel()));
    if (std::string strSkip = prepare(); !strSkip.empty())
        return strSkip;
    std::string strResult =
        Check(Message([&] { SaveProject(Distinct(), strPath); }).empty(), "save failed");
    strResult += Check(ReadBytes(strPath) == MakeProjectBytes(Distinct()), "content not replaced");
    for (const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::path(strPath).parent_path()))
        if (entry.path().filename().string().starts_with("."))
            return strResult + "temporary file left; ";
    return strResult;
}

struct HostileCase
{
    const char* pszName;
    std::function<std::string(const CScratchDir&)> run; // "skip: ..." when not possible here
};

// The name of a case as a test's name ("APipeIsRefusedAtOnce...").
inline std::string CaseName(const char* pszName)
{
    std::string strName;
    bool bUpper = true;
    for (const char c : std::string(pszName))
    {
        if (!std::isalnum(static_cast<unsigned char>(c)))
        {
            bUpper = true;
            continue;
        }
        strName += bUpper ? static_cast<char>(std::toupper(c)) : c;
        bUpper = false;
    }
    return strName;
}

// Runs one case in a scratch folder; a case that hangs ends the test run
// instead of blocking it.
inline void RunCase(const HostileCase& c)
{
    alarm(60);
    std::string strResult;
    {
        CScratchDir dir;
        strResult = c.run(dir);
    }
    alarm(0);
    if (strResult.starts_with("skip: "))
        GTEST_SKIP() << strResult.substr(6);
    EXPECT_EQ(strResult, "") << c.pszName;
}
} // namespace hostile
