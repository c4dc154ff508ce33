// The one converter between the UTF-8 the build is given and the UTF-16 the
// version block stores.
#include "version/Utf.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace
{

TEST(Utf, EncodingsOfOneToFourBytesRoundTrip)
{
    const struct
    {
        std::string strUtf8;
        std::u16string strUtf16;
    } cases[] = {
        {"", u""},
        {"Velkor 1.0", u"Velkor 1.0"},
        {"\xC2\xA9 2026", u"\u00A9 2026"},                    // two bytes
        {"\xE2\x80\x94\xEF\xBF\xBF", u"\u2014\uFFFF"},        // three bytes, the last of the plane
        {"\xF0\x9F\x98\x80", u"\U0001F600"},                  // four bytes: a surrogate pair
        {"\xF4\x8F\xBF\xBF", u"\U0010FFFF"},                  // the last code point
        {std::string("a\0b", 3), std::u16string(u"a\0b", 3)}, // zeros are text too
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(utf::Utf8ToUtf16(c.strUtf8), c.strUtf16) << c.strUtf8;
        EXPECT_EQ(utf::Utf16ToUtf8(c.strUtf16), c.strUtf8) << c.strUtf8;
    }
}

TEST(Utf, TextThatIsNotUtf8IsRefused)
{
    for (const char* psz : {"\x80", "a\xC2", "\xE2\x80", "\xF0\x9F\x98", "\xC0\xAF", "\xE0\x80\xAF",
                            "\xF0\x80\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                            "\xF8\x88\x80\x80\x80", "\xC2\x41", "\xFF"})
        EXPECT_THROW(utf::Utf8ToUtf16(psz), std::invalid_argument) << testing::PrintToString(psz);
}

TEST(Utf, LoneSurrogatesReadAsReplacementCharacters)
{
    const std::string kReplacement = "\xEF\xBF\xBD";
    EXPECT_EQ(utf::Utf16ToUtf8(u"\xD800"), kReplacement);
    EXPECT_EQ(utf::Utf16ToUtf8(u"\xDC00x"), kReplacement + "x");
    EXPECT_EQ(utf::Utf16ToUtf8(u"\xD83D\xD83D\xDE00"), kReplacement + "\xF0\x9F\x98\x80");
    EXPECT_EQ(utf::Utf16ToUtf8(u"x\xDBFF"), "x" + kReplacement);
}

} // namespace

#if defined(_WIN32)
// The wide API's form: what is not UTF-8 becomes empty (a name nobody can
// open), a lone surrogate U+FFFD, a zero stays a zero.
TEST(Utf, WideFormOfTheWindowsApi)
{
    struct Row
    {
        std::string strUtf8;
        std::wstring strWide;
    };
    const Row rows[] = {
        {"plan.vlk", L"plan.vlk"},
        {"na\xC3\xAFve \xE2\x82\xAC \xF0\x9F\x98\x80", L"na\u00EFve \u20AC \U0001F600"},
        {std::string("a\0b", 3), std::wstring(L"a\0b", 3)},
        {"", L""},
    };
    for (const Row& row : rows)
    {
        EXPECT_EQ(Utf8ToWide(row.strUtf8), row.strWide);
        EXPECT_EQ(WideToUtf8(row.strWide), row.strUtf8);
    }
    EXPECT_EQ(Utf8ToWide("bad \xC0\xAF"), L"");
    EXPECT_EQ(WideToUtf8(std::wstring(1, wchar_t(0xD800))), "\xEF\xBF\xBD");
}
#endif
