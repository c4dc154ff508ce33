// A project read for a report, with the checks a command-line user needs: a
// file of the wrong kind is named rather than computed.
//
// A project file has no header: any 348 bytes load as one. So a file whose
// extension is that of an export (.json, .csv, .svg, .pdf, .htm, .txt), or
// whose size is not 348 bytes while its extension is not .vlk, is refused
// with a message saying what it looks like and what to run instead. A .vlk
// longer than 348 bytes, or with weights that are not finite fractions from
// 0 to 1, is read with a warning.
#pragma once

#include "input/Snapshot.h"

#include <functional>
#include <stdexcept>
#include <string>

class CWrongFileError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The snapshot of the project strPath, titled by the file's title. A file
// error throws CFileException, a wrong file CWrongFileError; a warning is
// passed to onWarning (one line, no line end) and the project still read.
SSnapshot LoadSnapshot(const std::string& strPath,
                       const std::function<void(const std::string&)>& onWarning);
