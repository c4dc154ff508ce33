// The version information the build puts into program files, read back from
// the files on disk.
#include "VersionTestSupport.h"

#include <cstdio>
#include <map>

namespace
{

#ifdef _WIN32
// Windows reads the version resource through the version API.
const char* const kOwnProgram = VELKOR_OWN_PROGRAM;
const std::string kExe = ".exe";
#else
const char* const kOwnProgram = "/proc/self/exe";
const std::string kExe;
#endif

// The values of res/VersionValues.cmake as this test program carries them.
const std::map<std::string, std::string> kExpectedStrings = {
    {"CompanyName", "Velkor Project"},
    {"FileDescription", "Velkor software project risk assessment"},
    {"FileVersion", "1.0.0.1"},
    {"InternalName", "velkor_version_tests"},
    {"LegalCopyright", "Copyright \xC2\xA9 2026 Velkor Project"},
    {"OriginalFilename", "velkor_version_tests" + kExe},
    {"ProductName", "Velkor"},
    {"ProductVersion", "1.0.0.1"},
    {"Comments", "Assesses the risk of a software project from 81 questions."},
};

TEST(OwnVersionInfo, FixedInformationIsVersion1_0_0_1WithoutFlags)
{
    CVersionData data;
    ASSERT_TRUE(data.Load(kOwnProgram));
    const auto fixed = data.Fixed();
    ASSERT_TRUE(fixed);
    EXPECT_EQ(fixed->dwSignature, VS_FFI_SIGNATURE);
    EXPECT_EQ(fixed->dwStrucVersion, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwFileFlagsMask, 0x3Fu);
    EXPECT_EQ(fixed->dwFileFlags, 0u);
    EXPECT_EQ(fixed->dwFileType, 1u); // an application
#ifdef _WIN32
    EXPECT_EQ(fixed->dwFileOS, VOS_NT_WINDOWS32);
#else
    EXPECT_EQ(fixed->dwFileOS, VOS_UNKNOWN);
#endif
}

TEST(OwnVersionInfo, OneTranslationForUsEnglishUnicode)
{
    CVersionData data;
    ASSERT_TRUE(data.Load(kOwnProgram));
    void* p = nullptr;
    unsigned uLen = 0;
    ASSERT_TRUE(VerQueryValueA(data.Data(), "\\VarFileInfo\\Translation", &p, &uLen));
    EXPECT_EQ(uLen, 4u);
    EXPECT_EQ(data.Translation(), 0x04B00409u);

    // The string-table prefix the about box builds from that entry.
    const std::uint32_t dw = *data.Translation();
    char szPrefix[38];
    std::snprintf(szPrefix, sizeof szPrefix, "\\StringFileInfo\\%04X%04X\\", dw & 0xFFFF, dw >> 16);
    EXPECT_STREQ(szPrefix, "\\StringFileInfo\\040904B0\\");
    EXPECT_EQ(data.Text(std::string(szPrefix) + "ProductName"), "Velkor");
}

TEST(OwnVersionInfo, EveryStringReadsBackAndLegalTrademarksIsAbsent)
{
    CVersionData data;
    ASSERT_TRUE(data.Load(kOwnProgram));
    for (const auto& [strName, strValue] : kExpectedStrings)
        EXPECT_EQ(data.Text(kStrings + strName), strValue) << strName;
    EXPECT_EQ(data.Text(kStrings + "LegalTrademarks"), std::nullopt);
    EXPECT_EQ(data.Text(kStrings + "PrivateBuild"), std::nullopt);
    EXPECT_EQ(data.Text(kStrings + "SpecialBuild"), std::nullopt);
    // Another language's table does not exist.
    EXPECT_EQ(data.Text("\\StringFileInfo\\040704B0\\ProductName"), std::nullopt);
}

TEST(OwnVersionInfo, ValuesPointIntoTheCopyAndStayValid)
{
    CVersionData data;
    ASSERT_TRUE(data.Load(kOwnProgram));
    // The about box keeps one pointer per item while it is open.
    std::map<std::string, const char*> pointers;
    for (const auto& [strName, strValue] : kExpectedStrings)
    {
        void* p = nullptr;
        unsigned uLen = 0;
        ASSERT_TRUE(VerQueryValueA(data.Data(), (kStrings + strName).c_str(), &p, &uLen));
        ASSERT_TRUE(data.Contains(p, uLen));
        pointers[strName] = static_cast<const char*>(p);
    }
    // Asking again, in reverse order and for other blocks, moves nothing.
    for (auto it = kExpectedStrings.rbegin(); it != kExpectedStrings.rend(); ++it)
        ASSERT_TRUE(data.Text(kStrings + it->first));
    ASSERT_TRUE(data.Fixed());
    ASSERT_TRUE(data.Translation());
    for (const auto& [strName, strValue] : kExpectedStrings)
        EXPECT_STREQ(pointers[strName], strValue.c_str()) << strName;
    void* pAgain = nullptr;
    unsigned uLen = 0;
    ASSERT_TRUE(VerQueryValueA(data.Data(), (kStrings + "Comments").c_str(), &pAgain, &uLen));
    EXPECT_EQ(pAgain, pointers["Comments"]);
}

TEST(OwnVersionInfo, PathsMatchWithoutCaseAndIgnoreEmptyParts)
{
    CVersionData data;
    ASSERT_TRUE(data.Load(kOwnProgram));
    EXPECT_EQ(data.Text("\\stringfileinfo\\040904b0\\COMPANYNAME"), "Velkor Project");
    EXPECT_EQ(data.Text("StringFileInfo\\040904B0\\CompanyName"), "Velkor Project");
    EXPECT_EQ(data.Text("\\\\StringFileInfo\\\\040904B0\\CompanyName\\"), "Velkor Project");
    EXPECT_EQ(data.Text(kStrings + "Company"), std::nullopt);
    EXPECT_EQ(data.Text(kStrings + "CompanyNameX"), std::nullopt);
    EXPECT_EQ(data.Text(kStrings + "CompanyName\\More"), std::nullopt);
    // "" is the root, as "\" is.
    void* pRoot = nullptr;
    void* pEmpty = nullptr;
    unsigned uRoot = 0, uEmpty = 0;
    ASSERT_TRUE(VerQueryValueA(data.Data(), "\\", &pRoot, &uRoot));
    ASSERT_TRUE(VerQueryValueA(data.Data(), "", &pEmpty, &uEmpty));
    EXPECT_EQ(pRoot, pEmpty);
    EXPECT_EQ(uRoot, sizeof(VS_FIXEDFILEINFO));
    // Null arguments are refused, not followed.
    EXPECT_FALSE(VerQueryValueA(nullptr, "\\", &pRoot, &uRoot));
    EXPECT_FALSE(VerQueryValueA(data.Data(), nullptr, &pRoot, &uRoot));
    EXPECT_FALSE(VerQueryValueA(data.Data(), "\\", nullptr, &uRoot));
}

TEST(ProgramVersionInfo, TheVelkorProgramCarriesTheSameValues)
{
#ifndef VELKOR_PROGRAM
    GTEST_SKIP() << "the program is not part of this build";
#else
    CVersionData data;
    ASSERT_TRUE(data.Load(VELKOR_PROGRAM));
    const auto fixed = data.Fixed();
    ASSERT_TRUE(fixed);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwFileFlags & fixed->dwFileFlagsMask, 0u);
    EXPECT_EQ(data.Translation(), 0x04B00409u);
    for (const auto& [strName, strValue] : kExpectedStrings)
        if (strName != "InternalName" && strName != "OriginalFilename")
        {
            EXPECT_EQ(data.Text(kStrings + strName), strValue) << strName;
        }
    EXPECT_EQ(data.Text(kStrings + "InternalName"), "velkor");
    EXPECT_EQ(data.Text(kStrings + "OriginalFilename"), "velkor");
    EXPECT_EQ(data.Text(kStrings + "LegalTrademarks"), std::nullopt);
#endif
}

TEST(FlaggedVersionInfo, DebugPreReleasePrivateAndSpecialBuild)
{
    CVersionData data;
    ASSERT_TRUE(data.Load(VELKOR_FLAGGED_PROGRAM));
    const auto fixed = data.Fixed();
    ASSERT_TRUE(fixed);
    EXPECT_EQ(fixed->dwFileFlags & fixed->dwFileFlagsMask,
              VS_FF_DEBUG | VS_FF_PRERELEASE | VS_FF_PRIVATEBUILD | VS_FF_SPECIALBUILD);
    EXPECT_EQ(data.Text(kStrings + "PrivateBuild"), "Private build on a developer machine");
    EXPECT_EQ(data.Text(kStrings + "SpecialBuild"), "Special build for testing");
    EXPECT_EQ(data.Text(kStrings + "OriginalFilename"), "velkor_version_flagged" + kExe);
}

TEST(NoVersionInfo, FilesWithoutTheSectionHaveNone)
{
    const std::string strText =
        std::string(VELKOR_SOURCE_DIR) + "/tests/version/VersionInfoTest.cpp";
    CTestFile empty({});
    for (const std::string& strPath :
         {std::string(VELKOR_PLAIN_PROGRAM), strText, empty.Path(), std::string("/"),
          std::string("/nonexistent/velkor"), std::string(""), std::string("/dev/null")})
    {
        std::uint32_t dwHandle = 7;
        EXPECT_EQ(GetFileVersionInfoSizeA(strPath.c_str(), &dwHandle), 0u) << strPath;
        EXPECT_EQ(dwHandle, 0u);
        std::uint32_t adw[64];
        std::fill(std::begin(adw), std::end(adw), 0x5A5A5A5Au);
        EXPECT_FALSE(GetFileVersionInfoA(strPath.c_str(), 0, sizeof adw, adw)) << strPath;
        EXPECT_EQ(adw[0], 0x5A5A5A5Au) << "the buffer is left alone";
    }
    EXPECT_EQ(GetFileVersionInfoSizeA(nullptr, nullptr), 0u);
    EXPECT_FALSE(GetFileVersionInfoA(nullptr, 0, 0, nullptr));
}

TEST(NoVersionInfo, ABufferSmallerThanTheReportedSizeIsRefused)
{
    const std::uint32_t dwSize = GetFileVersionInfoSizeA(kOwnProgram, nullptr);
    ASSERT_GT(dwSize, 0u);
    std::vector<std::uint32_t> adw(dwSize / 4 + 1, 0x5A5A5A5Au);
    EXPECT_FALSE(GetFileVersionInfoA(kOwnProgram, 0, dwSize - 1, adw.data()));
    EXPECT_EQ(adw[0], 0x5A5A5A5Au);
    EXPECT_FALSE(GetFileVersionInfoA(kOwnProgram, 0, dwSize, nullptr));
    EXPECT_TRUE(GetFileVersionInfoA(kOwnProgram, 0, dwSize, adw.data()));
}

TEST(LanguageName, KnownLanguagesSublanguagesAndUnknownOnes)
{
    char sz[50];
    EXPECT_EQ(VerLanguageNameA(0x0409, sz, sizeof sz), 23u);
    EXPECT_STREQ(sz, "English (United States)");
    VerLanguageNameA(0x0407, sz, sizeof sz);
    EXPECT_STREQ(sz, "German (Germany)");
    VerLanguageNameA(0x0000, sz, sizeof sz);
    EXPECT_STREQ(sz, "Language Neutral");
    // A sublanguage without a name of its own falls back to its language.
    VerLanguageNameA(0x4409, sz, sizeof sz);
    EXPECT_STREQ(sz, "English");
    VerLanguageNameA(0x03FE, sz, sizeof sz);
    EXPECT_STREQ(sz, "Unknown language");
    VerLanguageNameA(0x10409, sz, sizeof sz);
    EXPECT_STREQ(sz, "Unknown language");
}

TEST(LanguageName, ShortBuffersAreCutAtACharacterAndTerminated)
{
    char sz[50];
    std::fill(std::begin(sz), std::end(sz), 'x');
    EXPECT_EQ(VerLanguageNameA(0x0409, sz, 8), 7u);
    EXPECT_STREQ(sz, "English");
    EXPECT_EQ(sz[8], 'x') << "nothing is written past the buffer";
    EXPECT_EQ(VerLanguageNameA(0x0409, sz, 1), 0u);
    EXPECT_STREQ(sz, "");
    EXPECT_EQ(VerLanguageNameA(0x0409, nullptr, 0), 23u);
    EXPECT_EQ(VerLanguageNameA(0x0409, sz, 0), 23u);
    // "Norwegian Bokmål": the two bytes of "å" are kept together.
    VerLanguageNameA(0x0414, sz, 16);
    EXPECT_STREQ(sz, "Norwegian Bokm");
    VerLanguageNameA(0x0414, sz, 17);
    EXPECT_STREQ(sz, "Norwegian Bokm\xC3\xA5");
}

} // namespace
