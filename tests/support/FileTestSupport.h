// Helpers of the file-layer tests: a scratch folder, whole-file reads and
// writes, and running code without root's privileges.
#pragma once

#include "files/FileException.h"
#include "files/ProjectFile.h"
#include "model/RiskModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#ifdef _WIN32
#include <random>
#else
#include <grp.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

// A UTF-8 path as the standard library takes it on every system.
inline std::filesystem::path FsPath(const std::string& strPath)
{
    return std::filesystem::path(std::u8string(strPath.begin(), strPath.end()));
}

// A fresh folder under /tmp, removed with everything in it.
class CScratchDir
{
public:
#ifdef _WIN32
    // A fresh folder in the temporary folder; names use '\\' as Windows does.
    CScratchDir()
    {
        std::random_device random;
        const auto strBase = std::filesystem::temp_directory_path().u8string();
        for (;;)
        {
            const auto strPath = strBase + u8"velkor-test-" +
                                 std::filesystem::path(std::to_string(random())).u8string();
            if (std::filesystem::create_directory(strPath))
            {
                m_strPath.assign(strPath.begin(), strPath.end());
                break;
            }
        }
    }
    std::string operator/(const std::string& strName) const
    {
        return m_strPath + "\\" + strName;
    }
#else
    CScratchDir()
    {
        char szTemplate[] = "/tmp/velkor-test-XXXXXX";
        const char* pszDir = mkdtemp(szTemplate);
        if (pszDir == nullptr)
            throw std::runtime_error("mkdtemp failed");
        m_strPath = pszDir;
        chmod(pszDir, 0755); // reachable by the unprivileged child processes
    }
    std::string operator/(const std::string& strName) const
    {
        return m_strPath + "/" + strName;
    }
#endif
    ~CScratchDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(FsPath(m_strPath), ec);
    }
    CScratchDir(const CScratchDir&) = delete;
    CScratchDir& operator=(const CScratchDir&) = delete;

    const std::string& Path() const
    {
        return m_strPath;
    }
    // The names in the folder, sorted: shows any temporary file left behind.
    std::vector<std::string> Names(const std::string& strSub = "") const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(
                 FsPath(strSub.empty() ? m_strPath : *this / strSub)))
        {
            const auto strName = entry.path().filename().u8string();
            names.emplace_back(strName.begin(), strName.end());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::string m_strPath;
};

inline std::string ReadBytes(const std::string& strPath)
{
    std::ifstream in(FsPath(strPath), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& strPath, const std::string& strBytes)
{
    std::ofstream out(FsPath(strPath), std::ios::binary | std::ios::trunc);
    out.write(strBytes.data(), static_cast<std::streamsize>(strBytes.size()));
}

// The CFileException that f throws; a test failure when it throws none.
template <class F> CFileException CatchFileException(F&& f)
{
    try
    {
        f();
    }
    catch (const CFileException& e)
    {
        return e;
    }
    ADD_FAILURE() << "no CFileException was thrown";
    return CFileException(CFileException::generic, "(nothing thrown)");
}

// The state of a model as far as the file layer can change it.
inline std::string Snapshot(const CRiskModel& model)
{
    return MakeProjectBytes(model) + (model.IsModified() ? "+modified" : "+unchanged");
}

// A model with some answers and weights of its own, marked as modified.
inline void MakeDistinctive(CRiskModel& model)
{
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
        model.GetQuestion(i)->SetSelected(i % 5);
    model.SetTechnicalWeight(0.6);
    model.SetCostWeight(0.3);
    model.SetScheduleWeight(0.1);
}

#ifndef _WIN32
// Runs f where file permissions apply: in a child process that gave up
// root's privileges (user and group 65534, supplementary groups as given)
// when the tests run as root, else right here. Returns what f returns.
inline std::string RunUnprivileged(const std::function<std::string()>& f,
                                   const std::vector<gid_t>& groups = {})
{
    if (geteuid() != 0)
        return f();
    int anPipe[2];
    if (pipe(anPipe) != 0)
        return "pipe failed";
    const pid_t pid = fork();
    if (pid == 0)
    {
        close(anPipe[0]);
        std::string strResult = "could not drop privileges";
        if (setgroups(groups.size(), groups.data()) == 0 && setgid(65534) == 0 &&
            setuid(65534) == 0)
            strResult = f();
        (void)!write(anPipe[1], strResult.data(), strResult.size());
        _exit(0);
    }
    close(anPipe[1]);
    std::string strResult;
    char buffer[512];
    ssize_t n = 0;
    while ((n = read(anPipe[0], buffer, sizeof buffer)) > 0)
        strResult.append(buffer, static_cast<std::size_t>(n));
    close(anPipe[0]);
    int nStatus = 0;
    waitpid(pid, &nStatus, 0);
    return strResult;
}
#endif
