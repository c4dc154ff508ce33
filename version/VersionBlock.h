// Builds a version block in the VS_VERSIONINFO layout: the fixed file
// information, one string table and the translation table. Used by the build
// (velkor_versiongen) and by tests that need valid or damaged blocks.
#pragma once

#include "version/VersionFormat.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace versionblock
{

struct VersionValues
{
    std::uint16_t anFileVersion[4] = {0, 0, 0, 0};
    std::uint16_t anProductVersion[4] = {0, 0, 0, 0};
    std::uint32_t dwFileFlagsMask = VS_FFI_FILEFLAGSMASK;
    std::uint32_t dwFileFlags = 0;
    std::uint32_t dwFileOS = VOS_UNKNOWN;
    std::uint32_t dwFileType = VFT_APP;
    std::uint32_t dwFileSubtype = 0;
    std::uint16_t wLanguage = 0x0409; // English (United States)
    std::uint16_t wCodePage = 0x04B0; // Unicode
    // Name and value, UTF-8, in the order they are written.
    std::vector<std::pair<std::string, std::string>> strings;
};

// "1.0.0.1" into four numbers; fewer parts are filled with 0. False for text
// that is not one to four dot-separated numbers below 65536.
bool ParseVersionNumber(const std::string& strText, std::uint16_t anOut[4]);

// The whole block. Throws std::invalid_argument for text that is not UTF-8 and
// std::length_error when the block would not fit its 16-bit length.
std::vector<std::uint8_t> BuildVersionBlock(const VersionValues& values);

} // namespace versionblock
