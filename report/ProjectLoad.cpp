#include "report/ProjectLoad.h"

#include "files/File.h"
#include "files/Path.h"
#include "files/ProjectFile.h"
#include "report/Formats.h"
#include "report/Numbers.h"

#include <cmath>
#include <filesystem>

namespace
{
// What the file's first bytes or, failing that, its extension say it is.
std::optional<EOutputFormat> LooksLike(std::string_view strBytes, const std::string& strExtension)
{
    if (const auto format = FormatOfContent(strBytes))
        return format;
    return FormatOfExtension(strExtension);
}

std::string Refusal(const std::string& strPath, EOutputFormat eFormat)
{
    const std::string strVlk = strPath.substr(0, strPath.size() - GetFileExtension(strPath).size() -
                                                     (GetFileExtension(strPath).empty() ? 0 : 1)) +
                               ".vlk";
    if (eFormat == EOutputFormat::json)
        return strPath + " is a JSON export; turn it into a project with: velkor-report import " +
               strPath + " " + strVlk;
    return strPath + " is " + OutputFormatInfo(eFormat).pszKind +
           ", which holds no answers; run velkor-report with the project file (.vlk) it was made "
           "from";
}

bool IsFraction(double d)
{
    return std::isfinite(d) && d >= 0 && d <= 1;
}
} // namespace

SSnapshot LoadSnapshot(const std::string& strPath,
                       const std::function<void(const std::string&)>& onWarning)
{
    CFile file(strPath, CFile::modeRead);
    std::string strBytes(PROJECT_FILE_SIZE + 1, '\0');
    strBytes.resize(file.Read(strBytes.data(), strBytes.size()));
    file.Close();

    const std::string strExtension = GetFileExtension(strPath);
    const bool bVlk = EqualsIgnoreCase(strExtension, "vlk");
    const auto exportFormat = FormatOfExtension(strExtension);
    if (exportFormat)
        throw CWrongFileError(Refusal(strPath, *LooksLike(strBytes, strExtension)));
    if (!bVlk && strBytes.size() != PROJECT_FILE_SIZE)
    {
        if (const auto looks = LooksLike(strBytes, strExtension))
            throw CWrongFileError(Refusal(strPath, *looks));
        std::error_code error;
        const auto nSize = strBytes.size() > PROJECT_FILE_SIZE
                               ? std::filesystem::file_size(strPath, error)
                               : strBytes.size();
        throw CWrongFileError(strPath + " is no project file: a project file is " +
                              std::to_string(PROJECT_FILE_SIZE) + " bytes, this one " +
                              (error ? std::string("larger") : std::to_string(nSize)) +
                              (nSize == 1 ? " byte" : " bytes") +
                              "; for a JSON export run: velkor-report import " + strPath +
                              " PROJECT.vlk");
    }

    CRiskModel model;
    const CKeepAnswersFlag keep;
    ApplyProjectBytes(model, strBytes, strPath);
    SSnapshot snapshot = MakeSnapshot(model, GetFileTitle(strPath));

    std::string strWarning;
    if (strBytes.size() > PROJECT_FILE_SIZE)
        strWarning = "only its first " + std::to_string(PROJECT_FILE_SIZE) + " bytes are read";
    const SWeights& w = snapshot.weights;
    if (!IsFraction(w.dTechnical) || !IsFraction(w.dCost) || !IsFraction(w.dSchedule))
        strWarning += (strWarning.empty() ? "" : "; ") +
                      std::string("its weights are not fractions from 0 to 1 (") + "technical " +
                      FormatShortest(w.dTechnical) + ", cost " + FormatShortest(w.dCost) +
                      ", schedule " + FormatShortest(w.dSchedule) + ")";
    if (!strWarning.empty())
        onWarning(strPath + ": " + strWarning);
    return snapshot;
}
