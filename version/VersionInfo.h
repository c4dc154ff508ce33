// Version information of program files: the version API of the classic
// framework, reading the version block (VS_VERSIONINFO layout) from the
// section VELKOR_VERSION_SECTION of an ELF file. Standard library and ELF only.
//
// Any file may be named: one that is not ELF, has no such section, or whose
// block is damaged has no version information (size 0), and a damaged part of
// a block is a missing item. Text values come back as zero-terminated UTF-8.
#pragma once

#include "version/VersionFormat.h"

#include <cstdint>

// Bytes the caller must provide for GetFileVersionInfoA: the block plus room
// for the UTF-8 copies of its texts. 0 when the file has no version
// information. *lpdwHandle (may be null) is set to 0.
std::uint32_t GetFileVersionInfoSizeA(const char* lptstrFilename, std::uint32_t* lpdwHandle);

// Reads the version information into lpData, which must hold at least the size
// GetFileVersionInfoSizeA reported (and be 4-byte aligned); dwHandle is
// ignored. Returns 0, leaving lpData alone, when the file has no version
// information or dwLen is too small.
int GetFileVersionInfoA(const char* lptstrFilename, std::uint32_t dwHandle, std::uint32_t dwLen,
                        void* lpData);

// Looks up lpSubBlock in a buffer filled by GetFileVersionInfoA: "\" is the
// fixed information (VS_FIXEDFILEINFO), "\VarFileInfo\Translation" the
// translation table (pairs of 16-bit language and code page),
// "\StringFileInfo\<lang><cp>\<name>" a text. Names match without regard to
// case. On success *lplpBuffer points into pBlock and stays valid as long as
// it does, *puLen (may be null) is the value's length in bytes, for a text
// with its terminating zero. Texts are converted into the spare room of the
// buffer, which is why it must be the caller's writable copy. Returns 0 for a
// missing or damaged item.
int VerQueryValueA(const void* pBlock, const char* lpSubBlock, void** lplpBuffer, unsigned* puLen);

// The name of language wLang ("English (United States)" for 0x0409). Copies at
// most cchLang - 1 characters and a terminator into szLang and returns the
// number of characters copied; with a null szLang or cchLang 0 returns the
// length of the whole name.
std::uint32_t VerLanguageNameA(std::uint32_t wLang, char* szLang, std::uint32_t cchLang);
