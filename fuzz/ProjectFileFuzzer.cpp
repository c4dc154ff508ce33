// Feeds arbitrary bytes to the project loader, through a real file and
// directly, and checks what a load promises: answers within their scales,
// weights exactly as stored, a short file refused with the model untouched.
// Bytes after the first 348 also serve as the HTML report's title.
#include "files/FileException.h"
#include "report/HtmlReport.h"
#include "files/ProjectFile.h"
#include "report/TextReport.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include <sys/mman.h>
#include <unistd.h>

namespace
{
void Check(bool bCondition)
{
    if (!bCondition)
        std::abort();
}

// The bytes in an anonymous file, loaded by its /proc name.
void LoadThroughFile(CRiskModel& model, std::string_view bytes)
{
    const int nFd = memfd_create("project.vlk", MFD_CLOEXEC);
    Check(nFd >= 0);
    Check(write(nFd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()));
    try
    {
        LoadProject(model, "/proc/self/fd/" + std::to_string(nFd));
    }
    catch (...)
    {
        close(nFd);
        throw;
    }
    close(nFd);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    const std::string_view bytes(reinterpret_cast<const char*>(pData), nSize);
    CRiskModel model;
    model.GetQuestion(0)->SetSelected(3);
    const std::string strBefore = MakeProjectBytes(model);

    try
    {
        LoadThroughFile(model, bytes);
    }
    catch (const CFileException& e)
    {
        Check(nSize < PROJECT_FILE_SIZE && e.GetCause() == CFileException::endOfFile);
        Check(MakeProjectBytes(model) == strBefore && model.IsModified());
        return 0;
    }
    Check(nSize >= PROJECT_FILE_SIZE && !model.IsModified());

    // Stored again, the project is its input with the answers clamped.
    const std::string strSaved = MakeProjectBytes(model);
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
    {
        const CQuestion* pQuestion = model.GetQuestion(i);
        Check(pQuestion->GetSelected() < pQuestion->GetAnswerCount());
        std::uint32_t nStored = 0;
        for (int b = 3; b >= 0; --b)
            nStored = (nStored << 8) | pData[4 * i + static_cast<std::uint32_t>(b)];
        Check(pQuestion->GetSelected() == std::min(nStored, pQuestion->GetAnswerCount() - 1));
    }
    Check(std::memcmp(strSaved.data() + 324, pData + 324, 24) == 0);

    // Loading the same bytes directly gives the same project.
    CRiskModel direct;
    ApplyProjectBytes(direct, bytes, "direct");
    Check(MakeProjectBytes(direct) == strSaved);

    // Whatever the weights (NaN, infinities, huge), the reports can be made.
    const std::string strText = MakeTextReport(MakeSnapshot(model));
    Check(strText.size() > 28 * 2 && strText.ends_with("%\r\n"));
    const std::string strTitle(bytes.substr(PROJECT_FILE_SIZE));
    const std::string strHtml = MakeHtmlReport(MakeSnapshot(model, strTitle));
    Check(strHtml.find("&lt;") == std::string::npos || strTitle.find('&') != std::string::npos ||
          strTitle.find('<') != std::string::npos);
    const std::string strEscaped = EscapeHtmlTitle(strTitle);
    for (const char c : strEscaped)
        Check(static_cast<unsigned char>(c) < 0x80 && c != '<' && c != '>' && c != '"' &&
              c != '\'');
    return 0;
}
