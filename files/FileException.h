// The file layer's exception: a kind of failure and the file it concerns.
#pragma once

#include <exception>
#include <string>

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

    CFileException(Cause cause, std::string strFileName);

    Cause GetCause() const { return m_cause; }
    const std::string& GetFileName() const { return m_strFileName; }
    // The standard message of the kind, with the file name in place of %1.
    const std::string& GetErrorMessage() const { return m_strMessage; }
    const char* what() const noexcept override { return m_strMessage.c_str(); }

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
};
