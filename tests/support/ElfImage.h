// Small ELF files built around a section's contents, for the version reader's
// tests and its fuzz target. Offsets of the header fields are kept so that a
// test can damage exactly one of them.
#pragma once

#include "version/VersionFormat.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

namespace elfimage
{

struct Options
{
    bool b64 = true;
    bool bLittle = true;
    std::string strName = VELKOR_VERSION_SECTION;
    std::uint32_t dwType = 1; // SHT_PROGBITS
    // A section named like the real one plus ".old", with junk, in front of it.
    bool bDecoyFirst = false;
};

struct Image
{
    std::vector<std::uint8_t> abBytes;
    bool b64 = true;
    bool bLittle = true;
    // Fields of the file header.
    std::size_t nShoffField = 0, nShentsizeField = 0, nShnumField = 0, nShstrndxField = 0;
    // Section header table and the version section.
    std::size_t nTable = 0;
    std::size_t nEntrySize = 0;
    std::size_t nVersionIndex = 0;
    std::size_t nVersionData = 0;
    // Offsets inside one section header.
    std::size_t nNameField = 0, nTypeField = 4, nOffsetField = 0, nSizeField = 0, nLinkField = 0;

    std::size_t VersionHeader() const { return nTable + nVersionIndex * nEntrySize; }
    std::size_t HeaderAt(std::size_t nIndex) const { return nTable + nIndex * nEntrySize; }

    // Stores v in nBytes at nAt in the file's byte order.
    void Put(std::size_t nAt, std::uint64_t v, std::size_t nBytes)
    {
        if (abBytes.size() < nAt + nBytes)
            abBytes.resize(nAt + nBytes);
        for (std::size_t i = 0; i < nBytes; ++i)
        {
            const std::size_t nShift = 8 * (bLittle ? i : nBytes - 1 - i);
            abBytes[nAt + i] = static_cast<std::uint8_t>(v >> nShift);
        }
    }
    // A field of the section's word size (sh_offset, sh_size, e_shoff).
    void PutWord(std::size_t nAt, std::uint64_t v) { Put(nAt, v, b64 ? 8 : 4); }
};

inline Image MakeElf(const std::vector<std::uint8_t>& abSection, const Options& options = {})
{
    Image img;
    img.b64 = options.b64;
    img.bLittle = options.bLittle;
    const std::size_t nWord = options.b64 ? 8 : 4;
    const std::size_t nHeader = options.b64 ? 64 : 52;
    img.nEntrySize = options.b64 ? 64 : 40;
    img.nShoffField = options.b64 ? 40 : 32;
    img.nShentsizeField = options.b64 ? 58 : 46;
    img.nShnumField = options.b64 ? 60 : 48;
    img.nShstrndxField = options.b64 ? 62 : 50;
    img.nOffsetField = options.b64 ? 24 : 16;
    img.nSizeField = options.b64 ? 32 : 20;
    img.nLinkField = options.b64 ? 40 : 24;

    auto align = [&](std::size_t n)
    {
        while (img.abBytes.size() % n != 0)
            img.abBytes.push_back(0);
    };
    auto append = [&](const void* p, std::size_t n)
    {
        const auto* pb = static_cast<const std::uint8_t*>(p);
        img.abBytes.insert(img.abBytes.end(), pb, pb + n);
    };

    img.abBytes.assign(nHeader, 0);
    const std::uint8_t abIdent[] = {0x7F,
                                    'E',
                                    'L',
                                    'F',
                                    std::uint8_t(options.b64 ? 2 : 1),
                                    std::uint8_t(options.bLittle ? 1 : 2),
                                    1};
    std::copy(std::begin(abIdent), std::end(abIdent), img.abBytes.begin());
    img.Put(16, 2, 2);                          // ET_EXEC
    img.Put(18, options.b64 ? 62 : 3, 2);       // x86-64 or i386
    img.Put(20, 1, 4);                          // EV_CURRENT
    img.Put(options.b64 ? 52 : 40, nHeader, 2); // e_ehsize

    struct Section
    {
        std::size_t nName, nType, nOffset, nSize;
    };
    std::vector<Section> sections;
    std::string strNames(1, '\0');

    align(8);
    if (options.bDecoyFirst)
    {
        const std::string strJunk = "not the version block";
        sections.push_back({strNames.size(), 1, img.abBytes.size(), strJunk.size()});
        strNames += options.strName + ".old";
        strNames += '\0';
        append(strJunk.data(), strJunk.size());
        align(8);
    }
    img.nVersionIndex = sections.size() + 1;
    img.nVersionData = img.abBytes.size();
    sections.push_back({strNames.size(), options.dwType, img.abBytes.size(), abSection.size()});
    strNames += options.strName;
    strNames += '\0';
    append(abSection.data(), abSection.size());
    align(8);
    const std::size_t nNamesName = strNames.size();
    strNames += ".shstrtab";
    strNames += '\0';
    sections.push_back({nNamesName, 3, img.abBytes.size(), strNames.size()}); // SHT_STRTAB
    append(strNames.data(), strNames.size());
    align(8);

    img.nTable = img.abBytes.size();
    img.abBytes.resize(img.nTable + (sections.size() + 1) * img.nEntrySize, 0);
    for (std::size_t i = 0; i < sections.size(); ++i)
    {
        const std::size_t nAt = img.HeaderAt(i + 1);
        img.Put(nAt + img.nNameField, sections[i].nName, 4);
        img.Put(nAt + img.nTypeField, sections[i].nType, 4);
        img.Put(nAt + img.nOffsetField, sections[i].nOffset, nWord);
        img.Put(nAt + img.nSizeField, sections[i].nSize, nWord);
    }
    img.PutWord(img.nShoffField, img.nTable);
    img.Put(img.nShentsizeField, img.nEntrySize, 2);
    img.Put(img.nShnumField, sections.size() + 1, 2);
    img.Put(img.nShstrndxField, sections.size(), 2);
    return img;
}

} // namespace elfimage
