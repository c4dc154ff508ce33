#include "version/Utf.h"

#include <stdexcept>

namespace utf
{

std::u16string Utf8ToUtf16(std::string_view strText)
{
    const auto fail = [&]
    { throw std::invalid_argument("text is not UTF-8: " + std::string(strText)); };
    std::u16string out;
    for (std::size_t i = 0; i < strText.size();)
    {
        const auto c = static_cast<unsigned char>(strText[i]);
        const std::size_t nExtra = c < 0x80             ? 0
                                   : (c & 0xE0) == 0xC0 ? 1
                                   : (c & 0xF0) == 0xE0 ? 2
                                   : (c & 0xF8) == 0xF0 ? 3
                                                        : 4;
        if (nExtra == 4 || strText.size() - i <= nExtra)
            fail();
        char32_t cp = nExtra == 0 ? c : c & (0x3F >> nExtra);
        for (std::size_t k = 1; k <= nExtra; ++k)
        {
            const auto cc = static_cast<unsigned char>(strText[i + k]);
            if ((cc & 0xC0) != 0x80)
                fail();
            cp = (cp << 6) | (cc & 0x3F);
        }
        static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
        if (cp < kMin[nExtra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            fail();
        if (cp >= 0x10000)
        {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        }
        else
            out.push_back(static_cast<char16_t>(cp));
        i += nExtra + 1;
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view strText)
{
    std::string out;
    out.reserve(strText.size());
    const auto put = [&](char32_t b) { out.push_back(static_cast<char>(b)); };
    for (std::size_t i = 0; i < strText.size(); ++i)
    {
        char32_t cp = strText[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < strText.size() && strText[i + 1] >= 0xDC00 &&
            strText[i + 1] <= 0xDFFF)
            cp = 0x10000 + ((cp - 0xD800) << 10) + (strText[++i] - 0xDC00);
        else if (cp >= 0xD800 && cp <= 0xDFFF)
            cp = 0xFFFD;
        if (cp < 0x80)
            put(cp);
        else if (cp < 0x800)
        {
            put(0xC0 | (cp >> 6));
            put(0x80 | (cp & 0x3F));
        }
        else if (cp < 0x10000)
        {
            put(0xE0 | (cp >> 12));
            put(0x80 | ((cp >> 6) & 0x3F));
            put(0x80 | (cp & 0x3F));
        }
        else
        {
            put(0xF0 | (cp >> 18));
            put(0x80 | ((cp >> 12) & 0x3F));
            put(0x80 | ((cp >> 6) & 0x3F));
            put(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

} // namespace utf

#if defined(_WIN32)
static_assert(sizeof(wchar_t) == sizeof(char16_t));

std::wstring Utf8ToWide(std::string_view str)
{
    try
    {
        const std::u16string strWide = utf::Utf8ToUtf16(str);
        return std::wstring(strWide.begin(), strWide.end());
    }
    catch (const std::invalid_argument&)
    {
        return {};
    }
}

std::string WideToUtf8(std::wstring_view str)
{
    return utf::Utf16ToUtf8(std::u16string(str.begin(), str.end()));
}
#endif
