// Windows: the version resource of a program file, read with the system's
// version API. Kept apart from VersionInfo.h, whose functions carry the
// names of that API.
#pragma once

#include <cstdint>
#include <vector>

// The raw VS_VERSION_INFO block of the file named in UTF-8 (the system may
// add bytes after it); false when the file has none or cannot be read.
bool ReadVersionResource(const char* pszPath, std::vector<std::uint8_t>& abBlock);
