// Feeds arbitrary section contents and arbitrary files to the version reader
// and asks everything the about box asks. Every value handed out must lie in
// the caller's copy, every text must end there, and a file that has version
// information must read into a buffer of the size reported.
//
// The first byte chooses what the rest is: even, the contents of the version
// section in a generated ELF file (bit 1: 32-bit, bit 2: big-endian, bit 3: a
// look-alike section first, bit 4: the rest patches a valid block instead, as
// triples of offset low, offset high and new byte, so that fuzzing from an
// empty corpus reaches deep into the block at once); odd, the whole file.
#include "ElfImage.h"
#include "version/VersionBlock.h"
#include "version/VersionInfo.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

namespace
{

void Check(bool bCondition)
{
    if (!bCondition)
        std::abort();
}

class CVersionFile
{
public:
    CVersionFile() : m_nFd(memfd_create("velkor.version", MFD_CLOEXEC))
    {
        Check(m_nFd >= 0);
        m_strPath = "/proc/self/fd/" + std::to_string(m_nFd);
    }
    const char* Write(const std::vector<std::uint8_t>& ab)
    {
        Check(ftruncate(m_nFd, 0) == 0);
        Check(pwrite(m_nFd, ab.data(), ab.size(), 0) == static_cast<ssize_t>(ab.size()));
        return m_strPath.c_str();
    }

private:
    int m_nFd;
    std::string m_strPath;
};

struct Copy
{
    const std::uint8_t* pbBase;
    std::size_t nSize;

    bool Holds(const void* p, std::size_t n) const
    {
        const auto* pb = static_cast<const std::uint8_t*>(p);
        return pb >= pbBase && n <= nSize && static_cast<std::size_t>(pb - pbBase) <= nSize - n;
    }
};

void QueryBinary(const Copy& copy, const char* pszPath)
{
    void* p = nullptr;
    unsigned uLen = 0;
    if (VerQueryValueA(copy.pbBase, pszPath, &p, &uLen))
        Check(copy.Holds(p, uLen));
}

// A text: terminated inside the copy, its length counting the terminator.
const char* QueryText(const Copy& copy, const std::string& strPath)
{
    void* p = nullptr;
    unsigned uLen = 0;
    if (!VerQueryValueA(copy.pbBase, strPath.c_str(), &p, &uLen))
        return nullptr;
    Check(uLen > 0 && copy.Holds(p, uLen));
    const char* psz = static_cast<const char*>(p);
    Check(psz[uLen - 1] == 0 && std::strlen(psz) + 1 == uLen);
    return psz;
}

// A block with every item the about box asks for and every build flag.
const std::vector<std::uint8_t>& ValidBlock()
{
    static const std::vector<std::uint8_t> s_abBlock = []
    {
        versionblock::VersionValues values;
        values.anFileVersion[0] = 1;
        values.dwFileFlags = 0x2B;
        for (const char* pszItem :
             {"FileVersion", "FileDescription", "LegalCopyright", "CompanyName", "ProductName",
              "ProductVersion", "LegalTrademarks", "InternalName", "OriginalFilename", "Comments",
              "PrivateBuild", "SpecialBuild"})
            values.strings.emplace_back(pszItem, std::string(pszItem) + " \xC2\xA9");
        return versionblock::BuildVersionBlock(values);
    }();
    return s_abBlock;
}

std::vector<std::uint8_t> PatchedBlock(const std::vector<std::uint8_t>& abPatches)
{
    std::vector<std::uint8_t> ab = ValidBlock();
    for (std::size_t i = 0; i + 3 <= abPatches.size(); i += 3)
        ab[(abPatches[i] | (abPatches[i + 1] << 8)) % ab.size()] = abPatches[i + 2];
    if (abPatches.size() % 3 == 1)
        ab.resize(ab.size() - abPatches.back() % ab.size()); // and cut the end off
    return ab;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pbData, std::size_t nSize)
{
    static CVersionFile file;
    if (nSize == 0)
        return 0;
    std::vector<std::uint8_t> abRest(pbData + 1, pbData + nSize);
    std::vector<std::uint8_t> abFile;
    if ((pbData[0] & 1) == 0)
    {
        elfimage::Options options;
        options.b64 = (pbData[0] & 2) == 0;
        options.bLittle = (pbData[0] & 4) == 0;
        options.bDecoyFirst = (pbData[0] & 8) != 0;
        if (pbData[0] & 0x10)
            abRest = PatchedBlock(abRest);
        abFile = elfimage::MakeElf(abRest, options).abBytes;
    }
    else
        abFile = std::move(abRest);
    const char* pszPath = file.Write(abFile);

    const std::uint32_t dwSize = GetFileVersionInfoSizeA(pszPath, nullptr);
    if (dwSize == 0)
        return 0;
    Check(dwSize <= 3 * 65536 + 8); // the block length is a 16-bit number
    std::vector<std::uint32_t> adwBuffer((dwSize + 3) / 4);
    Check(!GetFileVersionInfoA(pszPath, 0, dwSize - 1, adwBuffer.data()));
    Check(GetFileVersionInfoA(pszPath, 0, dwSize, adwBuffer.data()));
    const Copy copy{reinterpret_cast<const std::uint8_t*>(adwBuffer.data()), dwSize};

    // The about box's own questions, in its order.
    void* p = nullptr;
    unsigned uLen = 0;
    if (VerQueryValueA(copy.pbBase, "\\", &p, &uLen))
    {
        Check(copy.Holds(p, uLen));
        if (uLen >= sizeof(VS_FIXEDFILEINFO))
        {
            VS_FIXEDFILEINFO info;
            std::memcpy(&info, p, sizeof info);
        }
    }
    std::uint16_t awTranslation[2] = {0x0409, 0x04B0};
    if (VerQueryValueA(copy.pbBase, "\\VarFileInfo\\Translation", &p, &uLen))
    {
        Check(copy.Holds(p, uLen));
        if (uLen >= sizeof awTranslation)
            std::memcpy(awTranslation, p, sizeof awTranslation);
    }
    char szPrefix[38];
    std::snprintf(szPrefix, sizeof szPrefix, "\\StringFileInfo\\%04X%04X\\", awTranslation[0],
                  awTranslation[1]);
    char szLanguage[50];
    VerLanguageNameA(awTranslation[0], szLanguage, sizeof szLanguage);
    Check(std::strlen(szLanguage) < sizeof szLanguage);

    std::vector<const char*> texts;
    for (const char* pszItem : {"FileVersion", "FileDescription", "LegalCopyright", "CompanyName",
                                "ProductName", "ProductVersion", "LegalTrademarks", "InternalName",
                                "OriginalFilename", "Comments", "PrivateBuild", "SpecialBuild"})
        texts.push_back(QueryText(copy, std::string(szPrefix) + pszItem));
    // Texts already handed out stay as they were while others are asked for.
    std::vector<std::string> before;
    for (const char* psz : texts)
        before.emplace_back(psz != nullptr ? psz : "");
    for (const char* pszOther : {"\\StringFileInfo", "\\StringFileInfo\\", "\\VarFileInfo", "\\\\",
                                 "\\StringFileInfo\\040904B0", "\\VarFileInfo\\Translation\\"})
        QueryBinary(copy, pszOther);
    for (const char* pszItem : {"Comments", "CompanyName", "FileVersion"})
        QueryText(copy, std::string(szPrefix) + pszItem);
    for (std::size_t i = 0; i < texts.size(); ++i)
        Check(texts[i] == nullptr || before[i] == texts[i]);
    return 0;
}
