// The version reader on hand-made ELF files: other classes and byte orders,
// damaged ELF headers and damaged version blocks. Damage must end in "no
// version information" or a missing item, never in a crash or a read outside
// the file's data (the sanitizer build runs these too).
#include "ElfImage.h"
#include "VersionTestSupport.h"
#include "version/VersionBlock.h"

#include <cstring>
#include <functional>

namespace
{

using elfimage::Image;
using elfimage::MakeElf;

std::vector<std::uint8_t> SampleBlock()
{
    versionblock::VersionValues values;
    values.anFileVersion[0] = 2;
    values.anFileVersion[3] = 7;
    values.strings = {
        {"CompanyName", "Velkor Project"}, {"ProductName", "Velkor"}, {"Comments", "Last one"}};
    return versionblock::BuildVersionBlock(values);
}

// Offset of the block whose key is strKey (UTF-16, terminated, 4-aligned).
std::size_t FindBlock(const std::vector<std::uint8_t>& ab, const std::string& strKey)
{
    std::vector<std::uint8_t> abKey;
    for (char c : strKey)
        abKey.insert(abKey.end(), {static_cast<std::uint8_t>(c), 0});
    abKey.insert(abKey.end(), {0, 0});
    for (std::size_t n = 0; n + 6 + abKey.size() <= ab.size(); n += 4)
        if (std::equal(abKey.begin(), abKey.end(), ab.begin() + n + 6))
            return n;
    ADD_FAILURE() << "no block " << strKey;
    return 0;
}

void Put16(std::vector<std::uint8_t>& ab, std::size_t nAt, std::uint16_t w)
{
    ab[nAt] = static_cast<std::uint8_t>(w);
    ab[nAt + 1] = static_cast<std::uint8_t>(w >> 8);
}

std::uint16_t Get16(const std::vector<std::uint8_t>& ab, std::size_t nAt)
{
    return static_cast<std::uint16_t>(ab[nAt] | (ab[nAt + 1] << 8));
}

// Loads the file and asks for everything the about box asks for; every text
// found is checked to end inside the copy (CVersionData::Text).
struct ReadResult
{
    bool bLoaded = false;
    bool bFixed = false;
    bool bTranslation = false;
    std::optional<std::string> company, product, comments;
};

ReadResult ReadAll(const std::vector<std::uint8_t>& abFile)
{
    CTestFile file(abFile);
    CVersionData data;
    ReadResult r;
    r.bLoaded = data.Load(file.Path());
    if (!r.bLoaded)
        return r;
    r.bFixed = data.Fixed().has_value();
    r.bTranslation = data.Translation().has_value();
    r.company = data.Text(kStrings + "CompanyName");
    r.product = data.Text(kStrings + "ProductName");
    r.comments = data.Text(kStrings + "Comments");
    for (const char* psz : {"\\StringFileInfo", "\\StringFileInfo\\040904B0", "\\VarFileInfo",
                            "\\VarFileInfo\\Translation\\x", "\\\\\\"})
    {
        void* p = nullptr;
        unsigned uLen = 0;
        if (VerQueryValueA(data.Data(), psz, &p, &uLen))
        {
            EXPECT_TRUE(data.Contains(p, uLen)) << psz;
        }
    }
    return r;
}

ReadResult ReadBlock(const std::vector<std::uint8_t>& abBlock)
{
    return ReadAll(MakeElf(abBlock).abBytes);
}

TEST(ElfVariants, BothClassesAndByteOrdersCarryTheSection)
{
    for (bool b64 : {true, false})
        for (bool bLittle : {true, false})
        {
            elfimage::Options options;
            options.b64 = b64;
            options.bLittle = bLittle;
            const ReadResult r = ReadAll(MakeElf(SampleBlock(), options).abBytes);
            EXPECT_TRUE(r.bFixed) << b64 << bLittle;
            EXPECT_EQ(r.product, "Velkor") << b64 << bLittle;
            EXPECT_EQ(r.comments, "Last one") << b64 << bLittle;
        }
}

TEST(ElfVariants, OnlyTheExactSectionNameCounts)
{
    elfimage::Options options;
    options.bDecoyFirst = true; // ".velkor.version.old" with junk comes first
    EXPECT_EQ(ReadAll(MakeElf(SampleBlock(), options).abBytes).product, "Velkor");
    for (const char* pszName : {".velkor.versio", ".velkor.version2", ".VELKOR.VERSION", ""})
    {
        options.bDecoyFirst = false;
        options.strName = pszName;
        EXPECT_FALSE(ReadAll(MakeElf(SampleBlock(), options).abBytes).bLoaded) << pszName;
    }
}

TEST(ElfVariants, ExtendedSectionNumbering)
{
    // More than 65279 sections: the count sits in section 0's size, the names
    // index in its link.
    Image img = MakeElf(SampleBlock());
    const std::uint64_t qwCount = 3; // null, version, names
    img.Put(img.nShnumField, 0, 2);
    img.PutWord(img.HeaderAt(0) + img.nSizeField, qwCount);
    img.Put(img.nShstrndxField, 0xFFFF, 2);
    img.Put(img.HeaderAt(0) + img.nLinkField, qwCount - 1, 4);
    EXPECT_EQ(ReadAll(img.abBytes).product, "Velkor");

    img.PutWord(img.HeaderAt(0) + img.nSizeField, std::uint64_t{1} << 40);
    EXPECT_FALSE(ReadAll(img.abBytes).bLoaded) << "a count far beyond the file";
}

TEST(ElfDamage, DamagedHeadersMeanNoVersionInformation)
{
    const Image good = MakeElf(SampleBlock());
    ASSERT_TRUE(ReadAll(good.abBytes).bLoaded);
    const std::uint64_t qwFile = good.abBytes.size();
    const std::size_t nVersion = good.VersionHeader();
    const std::size_t nNames = good.HeaderAt(good.nVersionIndex + 1);
    const std::vector<std::pair<const char*, std::function<void(Image&)>>> damages = {
        {"magic", [](Image& i) { i.abBytes[1] = 'X'; }},
        {"class", [](Image& i) { i.abBytes[4] = 3; }},
        {"byte order", [](Image& i) { i.abBytes[5] = 0; }},
        {"no section table", [](Image& i) { i.PutWord(i.nShoffField, 0); }},
        {"table at the end", [&](Image& i) { i.PutWord(i.nShoffField, qwFile); }},
        {"table far away", [](Image& i) { i.PutWord(i.nShoffField, ~std::uint64_t{0} - 7); }},
        {"entry size too small", [](Image& i) { i.Put(i.nShentsizeField, 8, 2); }},
        {"more sections than the file holds", [](Image& i) { i.Put(i.nShnumField, 0xFF00, 2); }},
        {"names index out of range", [](Image& i) { i.Put(i.nShstrndxField, 9, 2); }},
        {"name beyond the names", [&](Image& i) { i.Put(nVersion, 0x7FFFFFFF, 4); }},
        {"names too short for the name", [&](Image& i) { i.PutWord(nNames + i.nSizeField, 6); }},
        {"names beyond the file",
         [&](Image& i) { i.PutWord(nNames + i.nOffsetField, qwFile + 1); }},
        {"contents run past the end",
         [&](Image& i) { i.PutWord(nVersion + i.nOffsetField, qwFile - 2); }},
        {"huge size",
         [&](Image& i) { i.PutWord(nVersion + i.nSizeField, std::uint64_t{1} << 62); }},
        {"offset wraps around",
         [&](Image& i) { i.PutWord(nVersion + i.nOffsetField, ~std::uint64_t{0} - 7); }},
        {"no contents in the file", [&](Image& i) { i.Put(nVersion + i.nTypeField, 8, 4); }},
        {"cut inside the section table", [&](Image& i) { i.abBytes.resize(nVersion + 10); }},
        {"cut inside the file header", [](Image& i) { i.abBytes.resize(30); }},
    };
    for (const auto& [pszWhat, damage] : damages)
    {
        Image img = good;
        damage(img);
        EXPECT_FALSE(ReadAll(img.abBytes).bLoaded) << pszWhat;
    }
}

TEST(BlockDamage, ARootThatDoesNotFitMeansNoVersionInformation)
{
    const std::vector<std::uint8_t> good = SampleBlock();
    ASSERT_TRUE(ReadBlock(good).bLoaded);
    const std::vector<std::pair<const char*, std::function<void(std::vector<std::uint8_t>&)>>>
        damages = {
            {"section cut in half", [](auto& ab) { ab.resize(ab.size() / 2); }},
            {"section shorter than a header", [](auto& ab) { ab.resize(4); }},
            {"empty section", [](auto& ab) { ab.clear(); }},
            {"root length 0", [](auto& ab) { Put16(ab, 0, 0); }},
            {"root length below a header", [](auto& ab) { Put16(ab, 0, 5); }},
            {"root key cut off", [](auto& ab) { Put16(ab, 0, 20); }},
            {"other root key", [](auto& ab) { ab[6] = 'W'; }},
        };
    for (const auto& [pszWhat, damage] : damages)
    {
        std::vector<std::uint8_t> ab = good;
        damage(ab);
        EXPECT_FALSE(ReadBlock(ab).bLoaded) << pszWhat;
    }
}

TEST(BlockDamage, ZeroOrShortChildLengthsEndTheWalk)
{
    // A length of 0 would otherwise find the same child for ever.
    for (std::uint16_t wLength : {0, 2, 5})
    {
        std::vector<std::uint8_t> ab = SampleBlock();
        Put16(ab, FindBlock(ab, "StringFileInfo"), wLength);
        const ReadResult r = ReadBlock(ab);
        ASSERT_TRUE(r.bLoaded);
        EXPECT_TRUE(r.bFixed);
        EXPECT_FALSE(r.company);
        EXPECT_FALSE(r.bTranslation) << "children after the damaged one are not reached";
    }
    std::vector<std::uint8_t> ab = SampleBlock();
    Put16(ab, FindBlock(ab, "ProductName"), 0);
    const ReadResult r = ReadBlock(ab);
    EXPECT_EQ(r.company, "Velkor Project") << "items before the damage are still there";
    EXPECT_FALSE(r.product);
    EXPECT_FALSE(r.comments);
    EXPECT_TRUE(r.bTranslation);
}

TEST(BlockDamage, ChildrenLongerThanTheirParentAreMissing)
{
    std::vector<std::uint8_t> ab = SampleBlock();
    const std::size_t nInfo = FindBlock(ab, "StringFileInfo");
    const std::size_t nTable = FindBlock(ab, "040904B0");
    Put16(ab, nTable, static_cast<std::uint16_t>(Get16(ab, nInfo) + 4));
    const ReadResult r = ReadBlock(ab);
    EXPECT_FALSE(r.company);
    EXPECT_TRUE(r.bTranslation);

    ab = SampleBlock();
    Put16(ab, 0, static_cast<std::uint16_t>(ab.size() - 4)); // root ends inside the last child
    const ReadResult r2 = ReadAll(MakeElf(ab).abBytes);
    EXPECT_EQ(r2.product, "Velkor");
    EXPECT_FALSE(r2.bTranslation);
}

TEST(BlockDamage, TextsAreCutAtTheirBlockAndAlwaysTerminated)
{
    std::vector<std::uint8_t> ab = SampleBlock();
    // A value length far past the block: the text still ends at its zero.
    Put16(ab, FindBlock(ab, "ProductName") + 2, 0xFFFF);
    // The last text loses its terminator and claims to be longer.
    const std::size_t nComments = FindBlock(ab, "Comments");
    const std::size_t nEnd = nComments + Get16(ab, nComments);
    Put16(ab, nEnd - 2, 'Z');
    Put16(ab, nComments + 2, 0x7FFF);
    const ReadResult r = ReadBlock(ab);
    EXPECT_EQ(r.product, "Velkor");
    EXPECT_EQ(r.comments, "Last oneZ");
    EXPECT_EQ(r.company, "Velkor Project");
}

TEST(BlockDamage, KeysWithoutTerminatorAreMissing)
{
    std::vector<std::uint8_t> ab = SampleBlock();
    const std::size_t nProduct = FindBlock(ab, "ProductName");
    Put16(ab, nProduct, 6 + 8); // ends inside "ProductName"
    const ReadResult r = ReadBlock(ab);
    EXPECT_EQ(r.company, "Velkor Project");
    EXPECT_FALSE(r.product);
    EXPECT_FALSE(r.comments);
}

TEST(BlockDamage, BinaryValuesMustFitTheirBlock)
{
    std::vector<std::uint8_t> ab = SampleBlock();
    Put16(ab, 2, 0xFFFF); // the fixed information claims 64 KiB
    const ReadResult r = ReadBlock(ab);
    EXPECT_TRUE(r.bLoaded);
    EXPECT_FALSE(r.bFixed);

    for (std::uint16_t wLength : {0, 0x100})
    {
        ab = SampleBlock();
        Put16(ab, FindBlock(ab, "Translation") + 2, wLength);
        EXPECT_FALSE(ReadBlock(ab).bTranslation) << wLength;
    }
}

TEST(BlockDamage, TextsUnderStringFileInfoAreTextWhateverTheirType)
{
    std::vector<std::uint8_t> ab = SampleBlock();
    Put16(ab, FindBlock(ab, "Comments") + 4, 0); // binary, length now counts bytes
    const ReadResult r = ReadBlock(ab);
    ASSERT_TRUE(r.comments);
    EXPECT_EQ(std::string("Last one").rfind(*r.comments, 0), 0u)
        << "a terminated beginning of the text: " << *r.comments;
}

TEST(BlockText, Utf16BecomesUtf8AndLoneSurrogatesAreReplaced)
{
    versionblock::VersionValues values;
    values.strings = {{"Comments", "G clef \xF0\x9D\x84\x9E, \xC2\xA9, \xE2\x82\xAC"},
                      {"ProductName", "ab"},
                      {"CompanyName", ""}};
    std::vector<std::uint8_t> ab = versionblock::BuildVersionBlock(values);
    ReadResult r = ReadBlock(ab);
    EXPECT_EQ(r.comments, "G clef \xF0\x9D\x84\x9E, \xC2\xA9, \xE2\x82\xAC");
    EXPECT_EQ(r.company, "") << "present with an empty text";

    const std::size_t nProduct = FindBlock(ab, "ProductName");
    const std::size_t nValue = nProduct + 32; // header and key with terminator, aligned
    Put16(ab, nValue, 0xDC00);
    Put16(ab, nValue + 2, 0xD800);
    r = ReadBlock(ab);
    EXPECT_EQ(r.product, "\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(BlockText, SectionsLargerThanTheBlockAreFine)
{
    std::vector<std::uint8_t> ab = SampleBlock();
    ab.resize(ab.size() + 70000, 0xEE);
    EXPECT_EQ(ReadBlock(ab).comments, "Last one");
}

// Every byte of the block set to three values: nothing is read outside the
// copy (ReadAll checks), and a byte inside one text's characters changes that
// text only: a zero low byte ends it there, any other value changes that one
// character, and the other texts read as before.
TEST(BlockDamage, EverySingleByteDamageIsSurvivedAndTextDamageStaysInItsText)
{
    const std::vector<std::uint8_t> good = SampleBlock();
    const ReadResult original = ReadBlock(good);
    using Item = std::optional<std::string> ReadResult::*;
    const struct
    {
        const char* pszKey;
        Item pText;
    } aTexts[] = {{"CompanyName", &ReadResult::company},
                  {"ProductName", &ReadResult::product},
                  {"Comments", &ReadResult::comments}};
    // Where each text's characters lie: after the header and the key with its
    // terminator, 4-aligned; the value length counts the terminator.
    std::vector<std::pair<std::size_t, std::size_t>> ranges;
    for (const auto& text : aTexts)
    {
        const std::size_t nBlock = FindBlock(good, text.pszKey);
        const std::size_t nValue =
            (nBlock + 6 + 2 * (std::strlen(text.pszKey) + 1) + 3) & ~std::size_t{3};
        ranges.push_back({nValue, nValue + 2 * (Get16(good, nBlock + 2) - 1u)});
        ASSERT_EQ((ranges.back().second - nValue) / 2, (original.*text.pText)->size())
            << text.pszKey;
    }
    int nLoaded = 0;
    for (std::size_t n = 0; n < good.size(); ++n)
        for (std::uint8_t b : {std::uint8_t{0x00}, std::uint8_t{0xFF}, std::uint8_t{0x03}})
        {
            std::vector<std::uint8_t> ab = good;
            ab[n] = b;
            const ReadResult r = ReadBlock(ab);
            nLoaded += r.bLoaded ? 1 : 0;
            if (::testing::Test::HasFailure())
                FAIL() << "byte " << n << " set to " << int(b);
            for (std::size_t t = 0; t < std::size(aTexts); ++t)
            {
                if (n < ranges[t].first || n >= ranges[t].second || ab[n] == good[n])
                    continue;
                SCOPED_TRACE(std::string(aTexts[t].pszKey) + " byte " + std::to_string(n) +
                             " set to " + std::to_string(b));
                ASSERT_TRUE(r.bLoaded && r.bFixed && r.bTranslation);
                for (std::size_t u = 0; u < std::size(aTexts); ++u)
                {
                    EXPECT_TRUE(u == t || r.*aTexts[u].pText == original.*aTexts[u].pText)
                        << aTexts[u].pszKey;
                }
                const std::string& strOld = *(original.*aTexts[t].pText);
                const std::optional<std::string>& text = r.*aTexts[t].pText;
                ASSERT_TRUE(text.has_value());
                const std::size_t k = (n - ranges[t].first) / 2; // the character hit
                const bool bLowByte = (n - ranges[t].first) % 2 == 0;
                if (b == 0 && bLowByte)
                {
                    EXPECT_EQ(*text, strOld.substr(0, k));
                }
                else
                {
                    EXPECT_EQ(text->substr(0, k), strOld.substr(0, k));
                    EXPECT_TRUE(text->ends_with(strOld.substr(k + 1))) << *text;
                    EXPECT_NE(*text, strOld);
                }
            }
        }
    EXPECT_GT(nLoaded, 0);
}

} // namespace
