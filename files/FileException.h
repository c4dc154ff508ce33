// The file layer's exception: a kind of failure and the file it concerns.
#pragma once

#include "res/Strings.h"
#include "res/resource.h"

#include <exception>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

class CFileException : public std::exception
{
public:
    enum Cause
    {
        generic,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile,
    };

    // nOsError: the system's error number behind the failure, 0 for none.
    CFileException(Cause cause, std::string strFileName, int nOsError = 0);

    Cause GetCause() const { return m_cause; }
    const std::string& GetFileName() const { return m_strFileName; }
    // The standard message of the kind, with the file name in place of %1.
    const std::string& GetErrorMessage() const { return m_strMessage; }
    const char* what() const noexcept override { return m_strMessage.c_str(); }
    int GetOsError() const { return m_nOsError; }
    // What the file is when it is of the wrong kind ("a pipe", "a socket",
    // "a terminal"); empty otherwise.
    const std::string& GetFileKind() const { return m_strFileKind; }
    void SetFileKind(std::string strKind) { m_strFileKind = std::move(strKind); }
    // Adds a sentence to the message (where to find a recovery copy).
    void AppendToMessage(const std::string& strText) { m_strMessage += strText; }

    // The kind of an errno value. bCreating: the failure came from creating
    // a file, where a missing folder is a bad path, not a missing file.
    static Cause CauseFromErrno(int nErrno, bool bCreating = false);
#ifdef _WIN32
    // The kind of a GetLastError() value; bCreating as above.
    static Cause CauseFromWin32Error(unsigned long nError, bool bCreating = false);
#endif

private:
    Cause m_cause;
    std::string m_strFileName;
    std::string m_strMessage;
    int m_nOsError = 0;
    std::string m_strFileKind;
};

// The message a command-line program prints: the file's wrong kind said as
// such ("p.vlk is a pipe, not a project file."), and the system's reason
// added where the kind of failure is unknown.
std::string
DescribeFileError(const CFileException& e,
                  const std::string& strExpected = LoadResString(IDS_FILE_KIND_PROJECT));

// String-table entry nId with the texts for %1, %2, ... in place.
std::string FormatFileText(int nId, std::initializer_list<std::string_view> texts);
