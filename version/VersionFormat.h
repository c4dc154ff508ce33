// The version block (VS_VERSIONINFO layout) and where a program file carries
// it: everything its writer (the build) and its reader (the about box) must
// agree on. A block is a tree of blocks, each a 16-bit length, value length
// and type, a zero-terminated UTF-16 key, the value and the children, every
// part starting on a 4-byte boundary; all numbers are little-endian.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// The ELF section that holds the block. The build places it in every
// executable that calls velkor_embed_version_info(); the reader looks for it
// by this name.
inline constexpr char VELKOR_VERSION_SECTION[] = ".velkor.version";

// File flags of VS_FIXEDFILEINFO, and the mask of every flag that means something.
constexpr std::uint32_t VS_FF_DEBUG = 0x01;
constexpr std::uint32_t VS_FF_PRERELEASE = 0x02;
constexpr std::uint32_t VS_FF_PRIVATEBUILD = 0x08;
constexpr std::uint32_t VS_FF_INFOINFERRED = 0x10;
constexpr std::uint32_t VS_FF_SPECIALBUILD = 0x20;
constexpr std::uint32_t VS_FFI_FILEFLAGSMASK = 0x3F;

constexpr std::uint32_t VS_FFI_SIGNATURE = 0xFEEF04BD;
constexpr std::uint32_t VS_FFI_STRUCVERSION = 0x00010000;
constexpr std::uint32_t VOS_UNKNOWN = 0; // not a Windows file
constexpr std::uint32_t VOS_NT_WINDOWS32 = 0x00040004;
constexpr std::uint32_t VFT_APP = 1;

// The value of the root block "\".
struct VS_FIXEDFILEINFO
{
    std::uint32_t dwSignature; // VS_FFI_SIGNATURE
    std::uint32_t dwStrucVersion;
    std::uint32_t dwFileVersionMS;
    std::uint32_t dwFileVersionLS;
    std::uint32_t dwProductVersionMS;
    std::uint32_t dwProductVersionLS;
    std::uint32_t dwFileFlagsMask;
    std::uint32_t dwFileFlags;
    std::uint32_t dwFileOS;
    std::uint32_t dwFileType;
    std::uint32_t dwFileSubtype;
    std::uint32_t dwFileDateMS;
    std::uint32_t dwFileDateLS;
};
static_assert(sizeof(VS_FIXEDFILEINFO) == 52);

namespace versionformat
{

// wLength, wValueLength and wType.
constexpr std::size_t kBlockHeader = 6;
// wType: a text value counts its length in UTF-16 units, a binary one in bytes.
constexpr std::uint16_t kTypeBinary = 0;
constexpr std::uint16_t kTypeText = 1;

constexpr std::string_view kRootKey = "VS_VERSION_INFO";
constexpr std::string_view kStringFileInfo = "StringFileInfo";
constexpr std::string_view kVarFileInfo = "VarFileInfo";
constexpr std::string_view kTranslation = "Translation";

constexpr std::size_t Align4(std::size_t n)
{
    return (n + 3) & ~std::size_t{3};
}

} // namespace versionformat
