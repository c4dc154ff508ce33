#include "version/VersionInfo.h"
#include "version/Utf.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include "version/VersionResource.h"
#else
#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace
{

using versionformat::Align4;
using versionformat::kBlockHeader;

// Real programs have a few dozen sections; a table claiming more is damage.
constexpr std::uint64_t kMaxSections = 1u << 16;
// Zero bytes after the text area: the empty text, and a terminator that no
// conversion ever overwrites.
constexpr std::size_t kTail = 8;

std::uint16_t Get16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

// The caller's buffer: the block (length L, from its first word), then 2 * L
// bytes where the UTF-8 copy of the text at block offset o goes to offset
// Align4(L) + 2 * o, then kTail zero bytes. A text of n UTF-16 units needs at
// most 3 * n + 1 bytes and has 4 * n, and texts of different blocks never
// share block bytes, so their copies never overlap and every pointer handed
// out stays valid.
std::size_t BufferSize(std::size_t nBlockLength)
{
    return 3 * Align4(nBlockLength) + kTail;
}

#ifndef _WIN32
// ---------------------------------------------------------------------------
// The ELF file

class CReadOnlyFile
{
public:
    explicit CReadOnlyFile(const char* pszPath)
    {
        // O_NONBLOCK: opening a FIFO must not wait for a writer.
        m_nFd = ::open(pszPath, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
        struct stat st;
        if (m_nFd >= 0 && ::fstat(m_nFd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size >= 0)
            m_qwSize = static_cast<std::uint64_t>(st.st_size);
        else
            Close();
    }
    ~CReadOnlyFile() { Close(); }
    CReadOnlyFile(const CReadOnlyFile&) = delete;
    CReadOnlyFile& operator=(const CReadOnlyFile&) = delete;

    bool IsOpen() const { return m_nFd >= 0; }
    std::uint64_t Size() const { return m_qwSize; }

    // Exactly nBytes at qwOffset, all inside the file.
    bool ReadAt(std::uint64_t qwOffset, void* pBuffer, std::size_t nBytes) const
    {
        if (m_nFd < 0 || qwOffset > m_qwSize || nBytes > m_qwSize - qwOffset)
            return false;
        auto* pDest = static_cast<char*>(pBuffer);
        std::size_t nDone = 0;
        while (nDone < nBytes)
        {
            const ssize_t n =
                ::pread(m_nFd, pDest + nDone, nBytes - nDone, static_cast<off_t>(qwOffset + nDone));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            nDone += static_cast<std::size_t>(n);
        }
        return true;
    }

private:
    void Close()
    {
        if (m_nFd >= 0)
            ::close(m_nFd);
        m_nFd = -1;
        m_qwSize = 0;
    }

    int m_nFd = -1;
    std::uint64_t m_qwSize = 0;
};

// Reads header fields of either ELF class in either byte order.
struct ElfFormat
{
    bool b64;
    bool bLittle;

    std::uint64_t Get(const std::uint8_t* p, std::size_t nBytes) const
    {
        std::uint64_t v = 0;
        for (std::size_t i = 0; i < nBytes; ++i)
            v = bLittle ? v | (std::uint64_t{p[i]} << (8 * i)) : (v << 8) | p[i];
        return v;
    }
};

#define ELF_FIELD(fmt, p, type, field)                                                             \
    (fmt).Get((p) + offsetof(type, field), sizeof(static_cast<type*>(nullptr)->field))

struct SectionHeader
{
    std::uint64_t qwName;
    std::uint64_t qwType;
    std::uint64_t qwOffset;
    std::uint64_t qwSize;
    std::uint64_t qwLink;
};

// The section headers of an ELF file of either class and byte order.
struct SectionTable
{
    ElfFormat fmt{};
    std::uint64_t qwTableOffset = 0, qwEntrySize = 0, qwCount = 0, qwNamesIndex = 0;
    std::size_t nHeaderSize = 0;
    std::uint64_t qwMaxCount = 0; // the headers that lie inside the file

    bool Read(const CReadOnlyFile& file, std::uint64_t qwIndex, SectionHeader& sh) const
    {
        if (qwIndex >= qwMaxCount)
            return false;
        std::uint8_t ab[sizeof(Elf64_Shdr)];
        if (!file.ReadAt(qwTableOffset + qwIndex * qwEntrySize, ab, nHeaderSize))
            return false;
        if (fmt.b64)
            sh = {ELF_FIELD(fmt, ab, Elf64_Shdr, sh_name), ELF_FIELD(fmt, ab, Elf64_Shdr, sh_type),
                  ELF_FIELD(fmt, ab, Elf64_Shdr, sh_offset),
                  ELF_FIELD(fmt, ab, Elf64_Shdr, sh_size), ELF_FIELD(fmt, ab, Elf64_Shdr, sh_link)};
        else
            sh = {ELF_FIELD(fmt, ab, Elf32_Shdr, sh_name), ELF_FIELD(fmt, ab, Elf32_Shdr, sh_type),
                  ELF_FIELD(fmt, ab, Elf32_Shdr, sh_offset),
                  ELF_FIELD(fmt, ab, Elf32_Shdr, sh_size), ELF_FIELD(fmt, ab, Elf32_Shdr, sh_link)};
        return true;
    }
};

// The section table of an ELF file, its count and names index read from
// section 0 where the header has too little room for them.
bool ReadSectionTable(const CReadOnlyFile& file, SectionTable& table)
{
    std::uint8_t abHeader[sizeof(Elf64_Ehdr)] = {};
    if (!file.ReadAt(0, abHeader, EI_NIDENT) || std::memcmp(abHeader, ELFMAG, SELFMAG) != 0)
        return false;
    if ((abHeader[EI_CLASS] != ELFCLASS32 && abHeader[EI_CLASS] != ELFCLASS64) ||
        (abHeader[EI_DATA] != ELFDATA2LSB && abHeader[EI_DATA] != ELFDATA2MSB))
        return false;
    const ElfFormat fmt{abHeader[EI_CLASS] == ELFCLASS64, abHeader[EI_DATA] == ELFDATA2LSB};
    if (!file.ReadAt(0, abHeader, fmt.b64 ? sizeof(Elf64_Ehdr) : sizeof(Elf32_Ehdr)))
        return false;
    if (fmt.b64)
        table = {fmt,
                 ELF_FIELD(fmt, abHeader, Elf64_Ehdr, e_shoff),
                 ELF_FIELD(fmt, abHeader, Elf64_Ehdr, e_shentsize),
                 ELF_FIELD(fmt, abHeader, Elf64_Ehdr, e_shnum),
                 ELF_FIELD(fmt, abHeader, Elf64_Ehdr, e_shstrndx),
                 sizeof(Elf64_Shdr)};
    else
        table = {fmt,
                 ELF_FIELD(fmt, abHeader, Elf32_Ehdr, e_shoff),
                 ELF_FIELD(fmt, abHeader, Elf32_Ehdr, e_shentsize),
                 ELF_FIELD(fmt, abHeader, Elf32_Ehdr, e_shnum),
                 ELF_FIELD(fmt, abHeader, Elf32_Ehdr, e_shstrndx),
                 sizeof(Elf32_Shdr)};
    if (table.qwTableOffset == 0 || table.qwTableOffset >= file.Size() ||
        table.qwEntrySize < table.nHeaderSize)
        return false;
    // Every header must lie inside the file; this also bounds the index
    // arithmetic (entry size < 2^16, count <= kMaxSections).
    table.qwMaxCount = (file.Size() - table.qwTableOffset) / table.qwEntrySize;

    // With many sections the count and the names index live in section 0.
    SectionHeader sh0;
    if (!table.Read(file, 0, sh0))
        return false;
    if (table.qwCount == 0)
        table.qwCount = sh0.qwSize;
    if (table.qwNamesIndex == SHN_XINDEX)
        table.qwNamesIndex = sh0.qwLink;
    return table.qwCount <= kMaxSections && table.qwCount <= table.qwMaxCount &&
           table.qwNamesIndex < table.qwCount;
}

// Offset and size of the version section, when the file is an ELF file that
// has one with contents inside the file.
bool FindVersionSection(const CReadOnlyFile& file, std::uint64_t& qwOffset, std::uint64_t& qwSize)
{
    SectionTable table;
    if (!ReadSectionTable(file, table))
        return false;
    SectionHeader names;
    if (!table.Read(file, table.qwNamesIndex, names) || names.qwType == SHT_NOBITS ||
        names.qwOffset > file.Size() || names.qwSize > file.Size() - names.qwOffset)
        return false;

    const auto& kName = VELKOR_VERSION_SECTION; // compared with its terminator
    for (std::uint64_t i = 1; i < table.qwCount; ++i)
    {
        SectionHeader sh;
        if (!table.Read(file, i, sh))
            return false;
        if (sh.qwName > names.qwSize || sizeof kName > names.qwSize - sh.qwName)
            continue;
        char szName[sizeof kName];
        if (!file.ReadAt(names.qwOffset + sh.qwName, szName, sizeof kName) ||
            std::memcmp(szName, kName, sizeof kName) != 0)
            continue;
        if (sh.qwType == SHT_NOBITS || sh.qwOffset > file.Size() ||
            sh.qwSize > file.Size() - sh.qwOffset)
            return false;
        qwOffset = sh.qwOffset;
        qwSize = sh.qwSize;
        return true;
    }
    return false;
}

#endif

// ---------------------------------------------------------------------------
// The version block

struct Block
{
    std::size_t nStart;
    std::size_t nEnd;      // nStart + wLength
    std::size_t nKey;      // first UTF-16 unit of the key
    std::size_t nKeyUnits; // without the terminator
    std::size_t nValue;    // aligned start of the value; may lie past nEnd
    std::size_t nValueBytes;
    std::size_t nChildren; // aligned start of the first child
    std::uint16_t wType;   // 1 text, 0 binary
};

// The block at nStart, which must lie with its whole key inside nLimit.
bool ParseBlock(const std::uint8_t* pbData, std::size_t nStart, std::size_t nLimit, Block& block)
{
    if (nStart > nLimit || nLimit - nStart < kBlockHeader)
        return false;
    const std::size_t nLength = Get16(pbData + nStart);
    if (nLength < kBlockHeader || nLength > nLimit - nStart)
        return false;
    block.nStart = nStart;
    block.nEnd = nStart + nLength;
    const std::uint16_t wValueLength = Get16(pbData + nStart + 2);
    block.wType = Get16(pbData + nStart + 4);
    block.nKey = nStart + kBlockHeader;
    std::size_t nPos = block.nKey;
    while (true)
    {
        if (block.nEnd - nPos < 2)
            return false; // no terminator inside the block
        if (Get16(pbData + nPos) == 0)
            break;
        nPos += 2;
    }
    block.nKeyUnits = (nPos - block.nKey) / 2;
    block.nValue = Align4(nPos + 2);
    // Text values count UTF-16 units, binary ones bytes.
    block.nValueBytes =
        block.wType != versionformat::kTypeBinary ? 2 * std::size_t{wValueLength} : wValueLength;
    block.nChildren = Align4(block.nValue + block.nValueBytes);
    return true;
}

char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool KeyEquals(const std::uint8_t* pbData, const Block& block, std::string_view strName)
{
    if (block.nKeyUnits != strName.size())
        return false;
    for (std::size_t i = 0; i < strName.size(); ++i)
    {
        const std::uint16_t w = Get16(pbData + block.nKey + 2 * i);
        if (w >= 0x80 || AsciiLower(static_cast<char>(w)) != AsciiLower(strName[i]))
            return false;
    }
    return true;
}

bool NameEquals(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    return true;
}

bool FindChild(const std::uint8_t* pbData, const Block& parent, std::string_view strName,
               Block& child)
{
    // Each child is at least a header long, so the walk always moves on.
    for (std::size_t nPos = parent.nChildren; nPos < parent.nEnd; nPos = Align4(child.nEnd))
    {
        if (!ParseBlock(pbData, nPos, parent.nEnd, child))
            return false;
        if (KeyEquals(pbData, child, strName))
            return true;
    }
    return false;
}

// Writes the UTF-8 form of nUnits UTF-16 units (up to the first zero) at
// pszOut, which has room for 4 * nUnits bytes, and terminates it. Returns the
// bytes written with the terminator.
std::size_t CopyText(const std::uint8_t* pbUnits, std::size_t nUnits, char* pszOut)
{
    std::u16string strUnits;
    for (std::size_t i = 0; i < nUnits; ++i)
    {
        const std::uint16_t w = Get16(pbUnits + 2 * i);
        if (w == 0)
            break;
        strUnits.push_back(static_cast<char16_t>(w));
    }
    const std::string strText = utf::Utf16ToUtf8(strUnits); // at most 3 bytes a unit
    std::memcpy(pszOut, strText.data(), strText.size());
    pszOut[strText.size()] = 0;
    return strText.size() + 1;
}

// The raw block of a file, checked to start with the root block.
bool ReadVersionBlock(const char* pszPath, std::vector<std::uint8_t>& abBlock)
{
    if (pszPath == nullptr || *pszPath == 0)
        return false;
#ifdef _WIN32
    // The program's version resource, through the version API.
    if (!ReadVersionResource(pszPath, abBlock) || abBlock.size() < kBlockHeader)
        return false;
    const std::size_t nLength = Get16(abBlock.data());
    if (nLength < kBlockHeader || nLength > abBlock.size())
        return false;
    abBlock.resize(nLength);
#else
    CReadOnlyFile file(pszPath);
    std::uint64_t qwOffset = 0, qwSize = 0;
    if (!file.IsOpen() || !FindVersionSection(file, qwOffset, qwSize) || qwSize < kBlockHeader)
        return false;
    std::uint8_t abLength[2];
    if (!file.ReadAt(qwOffset, abLength, sizeof abLength))
        return false;
    const std::size_t nLength = Get16(abLength);
    if (nLength < kBlockHeader || nLength > qwSize)
        return false;
    abBlock.resize(nLength);
    if (!file.ReadAt(qwOffset, abBlock.data(), nLength))
        return false;
#endif
    Block root;
    return ParseBlock(abBlock.data(), 0, nLength, root) &&
           KeyEquals(abBlock.data(), root, versionformat::kRootKey);
}

struct LanguageName
{
    std::uint16_t wId;
    const char* pszName;
};

// Full language identifiers, then primary languages for the other sublanguages.
constexpr LanguageName kLanguages[] = {
    {0x0000, "Language Neutral"},        {0x007F, "Invariant Language"},
    {0x0401, "Arabic (Saudi Arabia)"},   {0x0402, "Bulgarian (Bulgaria)"},
    {0x0403, "Catalan (Spain)"},         {0x0404, "Chinese (Traditional, Taiwan)"},
    {0x0405, "Czech (Czech Republic)"},  {0x0406, "Danish (Denmark)"},
    {0x0407, "German (Germany)"},        {0x0408, "Greek (Greece)"},
    {0x0409, "English (United States)"}, {0x040A, "Spanish (Spain, Traditional Sort)"},
    {0x040B, "Finnish (Finland)"},       {0x040C, "French (France)"},
    {0x040D, "Hebrew (Israel)"},         {0x040E, "Hungarian (Hungary)"},
    {0x040F, "Icelandic (Iceland)"},     {0x0410, "Italian (Italy)"},
    {0x0411, "Japanese (Japan)"},        {0x0412, "Korean (Korea)"},
    {0x0413, "Dutch (Netherlands)"},     {0x0414, "Norwegian Bokmål (Norway)"},
    {0x0415, "Polish (Poland)"},         {0x0416, "Portuguese (Brazil)"},
    {0x0418, "Romanian (Romania)"},      {0x0419, "Russian (Russia)"},
    {0x041A, "Croatian (Croatia)"},      {0x041B, "Slovak (Slovakia)"},
    {0x041D, "Swedish (Sweden)"},        {0x041F, "Turkish (Turkey)"},
    {0x0422, "Ukrainian (Ukraine)"},     {0x0804, "Chinese (Simplified, PRC)"},
    {0x0807, "German (Switzerland)"},    {0x0809, "English (United Kingdom)"},
    {0x080A, "Spanish (Mexico)"},        {0x080C, "French (Belgium)"},
    {0x0810, "Italian (Switzerland)"},   {0x0813, "Dutch (Belgium)"},
    {0x0816, "Portuguese (Portugal)"},   {0x0C07, "German (Austria)"},
    {0x0C09, "English (Australia)"},     {0x0C0A, "Spanish (Spain)"},
    {0x0C0C, "French (Canada)"},         {0x1009, "English (Canada)"},
    {0x100C, "French (Switzerland)"},    {0x1409, "English (New Zealand)"},
    {0x1809, "English (Ireland)"},
};

constexpr LanguageName kPrimaryLanguages[] = {
    {0x01, "Arabic"},    {0x02, "Bulgarian"},  {0x03, "Catalan"},   {0x04, "Chinese"},
    {0x05, "Czech"},     {0x06, "Danish"},     {0x07, "German"},    {0x08, "Greek"},
    {0x09, "English"},   {0x0A, "Spanish"},    {0x0B, "Finnish"},   {0x0C, "French"},
    {0x0D, "Hebrew"},    {0x0E, "Hungarian"},  {0x0F, "Icelandic"}, {0x10, "Italian"},
    {0x11, "Japanese"},  {0x12, "Korean"},     {0x13, "Dutch"},     {0x14, "Norwegian"},
    {0x15, "Polish"},    {0x16, "Portuguese"}, {0x18, "Romanian"},  {0x19, "Russian"},
    {0x1A, "Croatian"},  {0x1B, "Slovak"},     {0x1D, "Swedish"},   {0x1F, "Turkish"},
    {0x22, "Ukrainian"},
};

const char* LanguageNameOf(std::uint32_t wLang)
{
    if (wLang > 0xFFFF)
        return "Unknown language";
    for (const LanguageName& l : kLanguages)
        if (l.wId == wLang)
            return l.pszName;
    for (const LanguageName& l : kPrimaryLanguages)
        if (l.wId == (wLang & 0x3FF))
            return l.pszName;
    return "Unknown language";
}

} // namespace

std::uint32_t GetFileVersionInfoSizeA(const char* lptstrFilename, std::uint32_t* lpdwHandle)
{
    if (lpdwHandle != nullptr)
        *lpdwHandle = 0;
    std::vector<std::uint8_t> abBlock;
    if (!ReadVersionBlock(lptstrFilename, abBlock))
        return 0;
    return static_cast<std::uint32_t>(BufferSize(abBlock.size()));
}

int GetFileVersionInfoA(const char* lptstrFilename, std::uint32_t /*dwHandle*/, std::uint32_t dwLen,
                        void* lpData)
{
    std::vector<std::uint8_t> abBlock;
    // The file may have changed since its size was asked: the buffer must
    // fit what is read now, or the text area would run past its end.
    if (lpData == nullptr || !ReadVersionBlock(lptstrFilename, abBlock) ||
        dwLen < BufferSize(abBlock.size()))
        return 0;
    auto* pb = static_cast<std::uint8_t*>(lpData);
    std::memcpy(pb, abBlock.data(), abBlock.size());
    std::memset(pb + abBlock.size(), 0, BufferSize(abBlock.size()) - abBlock.size());
    return 1;
}

int VerQueryValueA(const void* pBlock, const char* lpSubBlock, void** lplpBuffer, unsigned* puLen)
{
    if (pBlock == nullptr || lpSubBlock == nullptr || lplpBuffer == nullptr)
        return 0;
    // The buffer was filled by GetFileVersionInfoA; only its text area is
    // written, and that area belongs to the caller's copy.
    auto* pbData = static_cast<std::uint8_t*>(const_cast<void*>(pBlock));
    const std::size_t nLength = Get16(pbData);
    Block block;
    if (!ParseBlock(pbData, 0, nLength, block))
        return 0;

    // Walk the path; empty parts (leading, doubled, trailing backslashes) are skipped.
    const std::string_view strPath = lpSubBlock;
    bool bRoot = true;
    bool bStrings = false;
    for (std::size_t nPos = 0; nPos < strPath.size();)
    {
        std::size_t nNext = strPath.find('\\', nPos);
        if (nNext == std::string_view::npos)
            nNext = strPath.size();
        const std::string_view strName = strPath.substr(nPos, nNext - nPos);
        nPos = nNext + 1;
        if (strName.empty())
            continue;
        if (bRoot)
            bStrings = NameEquals(strName, versionformat::kStringFileInfo);
        Block child;
        if (!FindChild(pbData, block, strName, child))
            return 0;
        block = child;
        bRoot = false;
    }

    // Everything below StringFileInfo is text whatever its type says, so that
    // a caller always gets a terminated string there.
    if (!bRoot && (block.wType != versionformat::kTypeBinary || bStrings))
    {
        std::size_t nUnits = 0;
        if (block.nValue < block.nEnd)
            nUnits = std::min(block.nValueBytes, block.nEnd - block.nValue) / 2;
        char* pszText = reinterpret_cast<char*>(pbData + 3 * Align4(nLength)); // empty text
        std::size_t nBytes = 1;
        if (nUnits > 0)
        {
            pszText = reinterpret_cast<char*>(pbData + Align4(nLength) + 2 * block.nValue);
            nBytes = CopyText(pbData + block.nValue, nUnits, pszText);
        }
        *lplpBuffer = pszText;
        if (puLen != nullptr)
            *puLen = static_cast<unsigned>(nBytes);
        return 1;
    }

    if (block.nValueBytes == 0 || block.nValue > block.nEnd ||
        block.nValueBytes > block.nEnd - block.nValue)
        return 0;
    *lplpBuffer = pbData + block.nValue;
    if (puLen != nullptr)
        *puLen = static_cast<unsigned>(block.nValueBytes);
    return 1;
}

std::uint32_t VerLanguageNameA(std::uint32_t wLang, char* szLang, std::uint32_t cchLang)
{
    const char* pszName = LanguageNameOf(wLang);
    const std::size_t nName = std::strlen(pszName);
    if (szLang == nullptr || cchLang == 0)
        return static_cast<std::uint32_t>(nName);
    std::size_t nCopy = std::min<std::size_t>(nName, cchLang - 1);
    while (nCopy > 0 && nCopy < nName && (pszName[nCopy] & 0xC0) == 0x80)
        --nCopy; // never cut a character in two
    std::memcpy(szLang, pszName, nCopy);
    szLang[nCopy] = 0;
    return static_cast<std::uint32_t>(nCopy);
}
