#include "report/Portfolio.h"

#include "files/File.h"
#include "files/FileException.h"
#include "files/Path.h"
#include "files/ProjectFile.h"
#include "input/ProjectLoad.h"
#include "report/Rows.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <memory>
#include <optional>
#include <set>
#include <utility>

#ifdef _WIN32
#include "files/Win32.h"
#else
#include <dirent.h>
#include <sys/stat.h>
#endif

namespace
{
bool IsProjectName(const char* pszName)
{
    return EqualsIgnoreCase(GetFileExtension(pszName), "vlk");
}

std::string Join(const std::string& strFolder, const char* pszName)
{
    std::string str = strFolder;
#ifdef _WIN32
    // The separator the folder is written with; '\\' when it has none.
    if (str.empty() || (str.back() != '/' && str.back() != '\\'))
        str +=
            str.find('/') != std::string::npos && str.find('\\') == std::string::npos ? '/' : '\\';
#else
    if (str.empty() || str.back() != '/')
        str += '/';
#endif
    return str += pszName;
}

#ifdef _WIN32
void AddWin32Error(std::vector<SPortfolioError>& errors, const std::string& strPath,
                   unsigned long nError)
{
    errors.push_back(
        {strPath,
         CFileException(CFileException::CauseFromWin32Error(nError), strPath).GetErrorMessage()});
}

// 1 a folder, 0 anything else, -1 an error (added to errors).
int IsFolder(const std::string& strPath, std::vector<SPortfolioError>& errors)
{
    const std::wstring strApi = GetApiPath(strPath);
    const DWORD nAttributes =
        strApi.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(strApi.c_str());
    if (nAttributes == INVALID_FILE_ATTRIBUTES)
    {
        AddWin32Error(errors, strPath, strApi.empty() ? ERROR_BAD_PATHNAME : GetLastError());
        return -1;
    }
    return (nAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void SearchFolder(const std::string& strFolder, std::vector<std::string>& projects,
                  std::vector<SPortfolioError>& errors)
{
    std::wstring strPattern = GetApiPath(strFolder);
    if (strPattern.empty())
        return AddWin32Error(errors, strFolder, ERROR_BAD_PATHNAME);
    strPattern += strPattern.back() == L'\\' ? L"*" : L"\\*";
    WIN32_FIND_DATAW data = {};
    const HANDLE hFind = FindFirstFileExW(strPattern.c_str(), FindExInfoBasic, &data,
                                          FindExSearchNameMatch, nullptr, 0);
    if (hFind == INVALID_HANDLE_VALUE)
    {
        if (GetLastError() != ERROR_FILE_NOT_FOUND) // an empty root folder
            AddWin32Error(errors, strFolder, GetLastError());
        return;
    }
    do
    {
        const std::string strName = WideToUtf8(data.cFileName);
        if (strName == "." || strName == "..")
            continue;
        // Linked folders (junctions, symbolic links) are not searched, so a
        // cycle cannot trap the search; linked files count as their target.
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                SearchFolder(Join(strFolder, strName.c_str()), projects, errors);
        }
        else if (IsProjectName(strName.c_str()))
            projects.push_back(Join(strFolder, strName.c_str()));
    } while (FindNextFileW(hFind, &data));
    if (GetLastError() != ERROR_NO_MORE_FILES)
        AddWin32Error(errors, strFolder, GetLastError());
    FindClose(hFind);
}
#else
void AddError(std::vector<SPortfolioError>& errors, const std::string& strPath, int nErrno)
{
    errors.push_back({strPath, DescribeFileError(CFileException(
                                   CFileException::CauseFromErrno(nErrno), strPath, nErrno))});
}

int IsFolder(const std::string& strPath, std::vector<SPortfolioError>& errors)
{
    struct stat st = {};
    if (stat(strPath.c_str(), &st) != 0)
    {
        AddError(errors, strPath, errno);
        return -1;
    }
    return S_ISDIR(st.st_mode);
}

// The folder's entries are read and the folder closed before its
// subfolders are searched, so the depth of the tree costs no descriptors.
void SearchFolder(const std::string& strFolder, std::vector<std::string>& projects,
                  std::vector<SPortfolioError>& errors)
{
    std::vector<std::string> folders;
    {
        const std::unique_ptr<DIR, int (*)(DIR*)> pDir(opendir(strFolder.c_str()), closedir);
        if (!pDir)
        {
            AddError(errors, strFolder, errno);
            return;
        }
        for (;;)
        {
            errno = 0;
            const dirent* pEntry = readdir(pDir.get());
            if (pEntry == nullptr)
            {
                if (errno != 0)
                    AddError(errors, strFolder, errno);
                break;
            }
            const char* pszName = pEntry->d_name;
            if (std::strcmp(pszName, ".") == 0 || std::strcmp(pszName, "..") == 0)
                continue;
            unsigned char type = pEntry->d_type;
            if (type != DT_DIR && type != DT_UNKNOWN && type != DT_LNK && !IsProjectName(pszName))
                continue;
            std::string strPath = Join(strFolder, pszName);
            if (type == DT_UNKNOWN || type == DT_LNK)
            {
                // Links count as the file they lead to; folders only when they
                // are no link, so a link cycle cannot trap the search.
                struct stat st = {};
                if (stat(strPath.c_str(), &st) != 0)
                {
                    if (type == DT_UNKNOWN || IsProjectName(pszName))
                        AddError(errors, strPath, errno);
                    continue;
                }
                if (S_ISDIR(st.st_mode) && type == DT_LNK)
                    continue;
                type = S_ISDIR(st.st_mode) ? DT_DIR : DT_REG;
            }
            if (type == DT_DIR)
                folders.push_back(std::move(strPath));
            else if (IsProjectName(pszName))
                projects.push_back(std::move(strPath)); // a pipe named so is refused when read
        }
    }
    for (const std::string& strSub : folders)
        SearchFolder(strSub, projects, errors);
}
#endif

// The portfolio in one format: the header, a row per project and the end
// (the JSON document ends with every error).
struct SPortfolioForm
{
    EOutputFormat eFormat;
    void (*pfnHeader)(std::string& strOut, std::size_t nPathWidth);
    void (*pfnRow)(std::string& strOut, const std::string& strPath, const SSnapshot& snapshot,
                   bool bFirst, std::size_t nPathWidth);
    void (*pfnEnd)(std::string& strOut, bool bNoRows, const std::vector<SPortfolioError>& errors);
};

void JsonEnd(std::string& strOut, bool bNoRows, const std::vector<SPortfolioError>& errors)
{
    strOut += bNoRows ? "], \"errors\": [" : "\n], \"errors\": [";
    for (std::size_t i = 0; i < errors.size(); ++i)
    {
        strOut += i == 0 ? "\n  " : ",\n  ";
        AppendJsonLine(strOut, {{"path", errors[i].strPath}, {"message", errors[i].strMessage}});
    }
    strOut += errors.empty() ? "]}\n" : "\n]}\n";
}

const SPortfolioForm s_aForms[] = {
    {EOutputFormat::text, AppendTextPortfolioHeader,
     [](std::string& strOut, const std::string& strPath, const SSnapshot& snapshot, bool,
        std::size_t nPathWidth) { AppendTextPortfolioRow(strOut, strPath, snapshot, nPathWidth); },
     [](std::string&, bool, const std::vector<SPortfolioError>&) {}},
    {EOutputFormat::csv, [](std::string& strOut, std::size_t) { AppendCsvPortfolioHeader(strOut); },
     [](std::string& strOut, const std::string& strPath, const SSnapshot& snapshot, bool,
        std::size_t) { AppendCsvPortfolioRow(strOut, strPath, snapshot); },
     [](std::string&, bool, const std::vector<SPortfolioError>&) {}},
    {EOutputFormat::json,
     [](std::string& strOut, std::size_t)
     { strOut += "{\"format\": \"velkor-portfolio\", \"version\": 1, \"projects\": ["; },
     [](std::string& strOut, const std::string& strPath, const SSnapshot& snapshot, bool bFirst,
        std::size_t)
     {
         strOut += bFirst ? "\n  " : ",\n  ";
         AppendJsonLine(strOut, JsonPortfolioRow(strPath, snapshot));
     },
     JsonEnd},
};

const SPortfolioForm& FormOf(EOutputFormat eFormat)
{
    for (const SPortfolioForm& form : s_aForms)
        if (form.eFormat == eFormat)
            return form;
    return s_aForms[0];
}
} // namespace

std::vector<std::string> CollectProjects(const std::vector<std::string>& inputs,
                                         std::vector<SPortfolioError>& errors)
{
    std::vector<std::string> projects;
    for (const std::string& strInput : inputs)
    {
        const int nFolder = IsFolder(strInput, errors);
        if (nFolder > 0)
            SearchFolder(strInput, projects, errors);
        else if (nFolder == 0)
            projects.push_back(strInput);
    }
    std::sort(projects.begin(), projects.end());
    projects.erase(std::unique(projects.begin(), projects.end()), projects.end());
    // One file once, however it was spelt ("t/a", "./t/a", "t//a", a link):
    // the first name in byte order stays.
    std::set<FileId> seen;
    std::erase_if(projects,
                  [&](const std::string& strPath)
                  {
                      const auto id = GetFileId(strPath);
                      return id && !seen.insert(*id).second;
                  });
    return projects;
}

void WritePortfolio(const std::vector<std::string>& projects, EOutputFormat format, COutput& out,
                    std::vector<SPortfolioError>& errors,
                    const std::function<void(const SPortfolioError&)>& onError, EPortfolioSort sort,
                    const std::function<void(const std::string&)>& onWarning)
{
    const SPortfolioForm& form = FormOf(format);
    std::size_t nPathWidth = 4; // "Path"
    if (format == EOutputFormat::text)
        for (const std::string& strPath : projects)
            nPathWidth = std::max(nPathWidth, TextPortfolioPathWidth(strPath));
    const auto Row = [&](const std::string& strPath, const SSnapshot& snapshot, bool bFirst)
    {
        form.pfnRow(out.Buffer(), strPath, snapshot, bFirst, nPathWidth);
        out.Appended();
    };

    form.pfnHeader(out.Buffer(), nPathWidth);
    out.Appended();
    bool bFirst = true;
    // Sorted by total, the rows wait for the last project; by path, each is
    // written as it is read.
    std::vector<std::pair<std::string, SSnapshot>> held;
    for (const std::string& strPath : projects)
    {
        std::optional<SSnapshot> loaded;
        try
        {
            loaded = LoadSnapshot(strPath, onWarning);
        }
        catch (const CFileException& e)
        {
            errors.push_back({strPath, DescribeFileError(e)});
            onError(errors.back());
            continue;
        }
        catch (const CWrongFileError& e)
        {
            errors.push_back({strPath, e.what()});
            onError(errors.back());
            continue;
        }
        if (sort == EPortfolioSort::total)
        {
            held.emplace_back(strPath, std::move(*loaded));
            continue;
        }
        Row(strPath, *loaded, bFirst);
        bFirst = false;
    }
    // The riskiest first: the lowest probability of success; NaN last.
    std::stable_sort(held.begin(), held.end(),
                     [](const auto& a, const auto& b)
                     {
                         const double x = a.second.Metric(METRIC_TOTAL),
                                      y = b.second.Metric(METRIC_TOTAL);
                         return std::isnan(y) ? !std::isnan(x) : x < y;
                     });
    for (const auto& [strPath, snapshot] : held)
    {
        Row(strPath, snapshot, bFirst);
        bFirst = false;
    }

    form.pfnEnd(out.Buffer(), bFirst, errors);
    out.Appended();
}
