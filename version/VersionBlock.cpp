#include "version/VersionBlock.h"
#include "version/Utf.h"

#include <stdexcept>
#include <string_view>

namespace versionblock
{
namespace
{

using namespace versionformat;

class CBlockWriter
{
public:
    std::vector<std::uint8_t> m_abData;

    void Put16(std::uint16_t w)
    {
        m_abData.push_back(static_cast<std::uint8_t>(w));
        m_abData.push_back(static_cast<std::uint8_t>(w >> 8));
    }
    void Put32(std::uint32_t dw)
    {
        Put16(static_cast<std::uint16_t>(dw));
        Put16(static_cast<std::uint16_t>(dw >> 16));
    }
    void PutText(const std::u16string& str)
    {
        for (char16_t c : str)
            Put16(c);
        Put16(0);
    }
    void Align() { m_abData.resize(Align4(m_abData.size()), 0); }

    // Header and key of a block; the value follows, aligned. Returns the
    // block's start for End().
    std::size_t Begin(std::string_view strKey, std::uint16_t wValueLength, std::uint16_t wType)
    {
        Align();
        const std::size_t nStart = m_abData.size();
        Put16(0); // wLength, filled in by End()
        Put16(wValueLength);
        Put16(wType);
        PutText(utf::Utf8ToUtf16(strKey));
        Align();
        return nStart;
    }
    // A block's length covers its value and children, not the padding after it.
    void End(std::size_t nStart)
    {
        const std::size_t nLength = m_abData.size() - nStart;
        if (nLength > 0xFFFF)
            throw std::length_error("version block longer than 65535 bytes");
        m_abData[nStart] = static_cast<std::uint8_t>(nLength);
        m_abData[nStart + 1] = static_cast<std::uint8_t>(nLength >> 8);
    }
};

std::uint32_t MakeLong(const std::uint16_t an[4], int nHigh)
{
    return (std::uint32_t{an[nHigh]} << 16) | an[nHigh + 1];
}

} // namespace

bool ParseVersionNumber(const std::string& strText, std::uint16_t anOut[4])
{
    std::uint16_t an[4] = {0, 0, 0, 0};
    std::size_t nPart = 0;
    std::size_t i = 0;
    if (strText.empty())
        return false;
    while (true)
    {
        if (nPart == 4 || i >= strText.size() || strText[i] < '0' || strText[i] > '9')
            return false;
        std::uint32_t n = 0;
        while (i < strText.size() && strText[i] >= '0' && strText[i] <= '9')
        {
            n = n * 10 + static_cast<std::uint32_t>(strText[i] - '0');
            if (n > 0xFFFF)
                return false;
            ++i;
        }
        an[nPart++] = static_cast<std::uint16_t>(n);
        if (i == strText.size())
            break;
        if (strText[i] != '.')
            return false;
        ++i;
    }
    for (int k = 0; k < 4; ++k)
        anOut[k] = an[k];
    return true;
}

std::vector<std::uint8_t> BuildVersionBlock(const VersionValues& values)
{
    CBlockWriter w;
    const std::size_t nRoot = w.Begin(kRootKey, sizeof(VS_FIXEDFILEINFO), kTypeBinary);
    w.Put32(VS_FFI_SIGNATURE);
    w.Put32(VS_FFI_STRUCVERSION);
    w.Put32(MakeLong(values.anFileVersion, 0));
    w.Put32(MakeLong(values.anFileVersion, 2));
    w.Put32(MakeLong(values.anProductVersion, 0));
    w.Put32(MakeLong(values.anProductVersion, 2));
    w.Put32(values.dwFileFlagsMask);
    w.Put32(values.dwFileFlags);
    w.Put32(values.dwFileOS);
    w.Put32(values.dwFileType);
    w.Put32(values.dwFileSubtype);
    w.Put32(0); // file date, high
    w.Put32(0); // file date, low

    static const char kHex[] = "0123456789ABCDEF";
    std::string strTable;
    for (std::uint32_t n : {std::uint32_t{values.wLanguage}, std::uint32_t{values.wCodePage}})
        for (int nShift = 12; nShift >= 0; nShift -= 4)
            strTable += kHex[(n >> nShift) & 0xF];

    const std::size_t nStringInfo = w.Begin(kStringFileInfo, 0, kTypeText);
    const std::size_t nTable = w.Begin(strTable, 0, kTypeText);
    for (const auto& [strName, strValue] : values.strings)
    {
        const std::u16string strText = utf::Utf8ToUtf16(strValue);
        // The value length of a text counts characters, its terminator included.
        const std::size_t nStart =
            w.Begin(strName, static_cast<std::uint16_t>(strText.size() + 1), kTypeText);
        w.PutText(strText);
        w.End(nStart);
    }
    w.End(nTable);
    w.End(nStringInfo);

    const std::size_t nVarInfo = w.Begin(kVarFileInfo, 0, kTypeText);
    const std::size_t nVar = w.Begin(kTranslation, 4, kTypeBinary);
    w.Put16(values.wLanguage);
    w.Put16(values.wCodePage);
    w.End(nVar);
    w.End(nVarInfo);
    w.End(nRoot);
    return std::move(w.m_abData);
}

} // namespace versionblock
