#include "files/ProjectFile.h"

#include "files/File.h"
#include "model/Bits.h"

#include <cstdint>

namespace
{
constexpr std::size_t WEIGHTS_OFFSET = 4 * QUESTION_COUNT; // 324

void PutUInt32(std::string& strBytes, std::uint32_t n)
{
    for (int i = 0; i < 4; ++i)
        strBytes.push_back(static_cast<char>((n >> (8 * i)) & 0xFF));
}

void PutDouble(std::string& strBytes, double d)
{
    const auto n = BitsOfDouble(d);
    for (int i = 0; i < 8; ++i)
        strBytes.push_back(static_cast<char>((n >> (8 * i)) & 0xFF));
}

std::uint64_t GetLittleEndian(std::string_view bytes, std::size_t nOffset, int nSize)
{
    std::uint64_t n = 0;
    for (int i = nSize - 1; i >= 0; --i)
        n = (n << 8) | static_cast<unsigned char>(bytes[nOffset + static_cast<std::size_t>(i)]);
    return n;
}
} // namespace

std::string MakeProjectBytes(const CRiskModel& model)
{
    std::string strBytes;
    strBytes.reserve(PROJECT_FILE_SIZE);
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
    {
        const CQuestion* pQuestion = model.GetQuestion(i);
        PutUInt32(strBytes, pQuestion != nullptr ? pQuestion->GetSelected() : 0);
    }
    PutDouble(strBytes, model.GetScheduleWeight());
    PutDouble(strBytes, model.GetCostWeight());
    PutDouble(strBytes, model.GetTechnicalWeight());
    return strBytes;
}

void SaveProject(const CRiskModel& model, const std::string& strPath)
{
    const std::string strBytes = MakeProjectBytes(model);
    CFile file(strPath, CFile::modeCreate);
    file.Write(strBytes.data(), strBytes.size());
    file.Close();
}

void ApplyProjectBytes(CRiskModel& model, std::string_view bytes, const std::string& strName)
{
    if (bytes.size() < PROJECT_FILE_SIZE)
        throw CFileException(CFileException::endOfFile, strName);

    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
    {
        if (CQuestion* pQuestion = model.GetQuestion(i))
            pQuestion->SetSelected(static_cast<std::uint32_t>(GetLittleEndian(bytes, 4 * i, 4)));
    }
    const auto Weight = [&](int n)
    { return DoubleOfBits(GetLittleEndian(bytes, WEIGHTS_OFFSET + 8 * n, 8)); };
    model.SetScheduleWeight(Weight(0));
    model.SetCostWeight(Weight(1));
    model.SetTechnicalWeight(Weight(2));
    model.ClearModified();
}

void LoadProject(CRiskModel& model, const std::string& strPath)
{
    // The whole project is read before the model changes, so a file that
    // fails half-way leaves the project in memory as it was.
    std::string strBytes(PROJECT_FILE_SIZE, '\0');
    CFile file(strPath, CFile::modeRead);
    strBytes.resize(file.Read(strBytes.data(), strBytes.size()));
    file.Close();
    try
    {
        ApplyProjectBytes(model, strBytes, strPath);
    }
    catch (CFileException& e)
    {
        // A save killed while it rewrote the file in place kept the old
        // content beside it.
        if (const std::string strCopy = GetRecoveryCopyPath(strPath); !strCopy.empty())
            e.AppendToMessage(" Its content before an interrupted save is in " + strCopy + ".");
        throw;
    }
}
