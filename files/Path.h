// Names of files: the parts of a path, the program's own path and the
// comparison of extensions. Plain UTF-8 strings, '/' as the separator; on
// Windows '\\' separates too.
#pragma once

#include "version/Utf.h" // Utf8ToWide, WideToUtf8 on Windows

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// What follows the last '/' ("dir/plan.vlk" gives "plan.vlk"); empty when
// the path ends in '/'; the whole path when it holds no '/'.
std::string GetFileName(const std::string& strPath);

// The folder part: "." without a '/', "/" for a file in the root.
std::string GetFolderName(const std::string& strPath);

// The file's name without its directory and its last extension
// ("dir/plan.final.vlk" gives "plan.final"); the whole name when it holds no ".".
std::string GetFileTitle(const std::string& strPath);

// What follows the last "." of the file's name; empty when the name has none.
std::string GetFileExtension(const std::string& strPath);

// The file types of a filter string ("Text (*.txt)|*.txt|...||"): pairs of
// description and patterns ("*.txt;*.text").
std::vector<std::pair<std::string, std::string>> ParseFileFilter(const std::string& strFilter);

// The name as a file dialog returns it: a name without extension gets that of
// file type nType (1-based) of strFilter when its first pattern names one
// extension, else strDefExt ("vlk", ".vlk" and "*.vlk" all mean the same).
std::string CompleteFileName(const std::string& strPath, const std::string& strFilter, int nType,
                             const std::string& strDefExt);

// Case-insensitive comparison of ASCII text (file extensions).
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// The absolute path of the running program; empty when it cannot be read.
std::string GetOwnExecutablePath();

// Text from outside (a file name, a piece of a document) made safe to show
// on one line: control characters become \n, \t, \r or \xNN, and bytes that
// are not UTF-8 become \xNN. With nMaxChars, at most that many characters
// are kept, followed by "..." when the text was longer.
std::string EscapeForDisplay(std::string_view str, std::size_t nMaxChars = std::string::npos);

#ifdef _WIN32
// True when the path's last name is one Windows keeps for a device (CON,
// PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9, with any extension) or ends
// in a dot or a space, which Windows would silently drop; and for device
// paths (\\.\...).
bool IsReservedFileName(const std::string& strPath);

// The full path as the wide API takes it: absolute, with '\\' separators,
// and with the \\?\ prefix when it is too long for the plain form. Empty
// for a reserved name or a path that is not UTF-8.
std::wstring GetApiPath(const std::string& strPath);
#endif
