// The part of the file object that every backend shares: the choice of the
// save strategy, the order of the steps of a save, and the rewrite in place
// with its recovery copy. The steps themselves are the backend's.
#include "files/File.h"
#include "files/FileBackend.h"

#include <utility>

const char* GetSaveStrategyName(ESaveStrategy strategy)
{
    switch (strategy)
    {
    case ESaveStrategy::replaceThroughUnnamedTemporary:
        return "replace through an unnamed temporary";
    case ESaveStrategy::replaceThroughNamedTemporary:
        return "replace through a named temporary";
    case ESaveStrategy::rewriteInPlaceAfterRecoveryCopy:
        return "rewrite in place after a recovery copy";
    case ESaveStrategy::writeWhereItStands:
        break;
    }
    return "write where it stands";
}

ESaveStrategy ChooseSaveStrategy(const STargetFacts& facts)
{
    if (facts.bOwnDescriptor || (facts.bExists && !facts.bRegular))
        return ESaveStrategy::writeWhereItStands;
    if (facts.bExists && (facts.bIdentityWouldChange || !facts.bFolderTakesNewFiles))
        return ESaveStrategy::rewriteInPlaceAfterRecoveryCopy;
    return facts.bUnnamedTemporaries ? ESaveStrategy::replaceThroughUnnamedTemporary
                                     : ESaveStrategy::replaceThroughNamedTemporary;
}

void CFileBackend::Fail(CFileException::Cause cause, int nOsError, const char* pszKind)
{
    Abort();
    CFileException e(cause, m_strFileName, nOsError);
    if (pszKind != nullptr)
        e.SetFileKind(pszKind);
    throw e;
}

namespace
{
class CInterruptHold
{
public:
    explicit CInterruptHold(CFileBackend& file) : m_file(file) { m_file.HoldInterrupts(true); }
    ~CInterruptHold() { m_file.HoldInterrupts(false); }
    CInterruptHold(const CInterruptHold&) = delete;
    CInterruptHold& operator=(const CInterruptHold&) = delete;

private:
    CFileBackend& m_file;
};
} // namespace

void CFileBackend::RewriteInPlace()
{
    // Interrupts wait until the file is whole again; a kill leaves the old
    // content in the recovery copy beside the file.
    const CInterruptHold hold(*this);
    std::string strOld;
    const bool bHaveOld = ReadOldContent(strOld);
    const bool bCopy = bHaveOld && KeepRecoveryCopy(strOld);
    // The room for the new content is reserved before a byte changes, so a
    // full disk stops the save while the file is still whole.
    OsError nError = ReserveRoom(m_strBuffer.size());
    if (nError == CANNOT_RESERVE && !bHaveOld)
        Fail(CFileException::accessDenied); // nothing could put the old content back
    if (nError != 0 && nError != CANNOT_RESERVE)
    {
        if (bCopy)
            RemoveRecoveryCopy();
        FailOs(nError);
    }
    nError = Rewrite(m_strBuffer, m_bSync);
    // Put the old content back; it takes no more room than it had.
    const bool bWhole = nError == 0 || (bHaveOld && Rewrite(strOld, true) == 0);
    if (bWhole)
        RemoveRecoveryCopy();
    if (nError != 0)
        FailOs(nError);
}

CFile::CFile() = default;

CFile::CFile(const std::string& strFileName, OpenMode mode)
{
    Open(strFileName, mode);
}

CFile::~CFile()
{
    Abort();
}

void CFile::Open(const std::string& strFileName, OpenMode mode)
{
    Abort();
    m_strFileName = strFileName;
    m_pFile = MakeFileBackend(strFileName);
    m_pFile->m_bSync = mode == modeCreate;
    m_pFile->m_bLock = mode != modeCreateShared;
    m_pFile->m_bWriting = mode != modeRead;
    if (mode == modeRead)
        m_pFile->OpenForReading();
    else
        m_pFile->OpenForWriting();
}

bool CFile::IsOpen() const
{
    return m_pFile && m_pFile->IsOpen();
}

const char* CFile::GetSaveStrategyName() const
{
    return IsOpen() && m_pFile->m_bWriting ? ::GetSaveStrategyName(m_pFile->m_strategy) : "";
}

std::size_t CFile::Read(void* pBuffer, std::size_t nCount)
{
    if (!IsOpen() || m_pFile->m_bWriting)
        throw CFileException(CFileException::invalidFile, m_strFileName);
    return m_pFile->Read(pBuffer, nCount);
}

void CFile::Write(const void* pBuffer, std::size_t nCount)
{
    if (!IsOpen() || !m_pFile->m_bWriting)
        throw CFileException(CFileException::invalidFile, m_strFileName);
    if (m_pFile->m_strategy == ESaveStrategy::rewriteInPlaceAfterRecoveryCopy)
        m_pFile->m_strBuffer.append(static_cast<const char*>(pBuffer), nCount);
    else
        m_pFile->WriteOut(static_cast<const char*>(pBuffer), nCount);
}

void CFile::Close()
{
    if (!IsOpen())
        return;
    CFileBackend& file = *m_pFile;
    if (!file.m_bWriting)
        return Abort(); // nothing of a read can be lost at closing
    switch (file.m_strategy)
    {
    case ESaveStrategy::rewriteInPlaceAfterRecoveryCopy:
        file.RewriteInPlace();
        file.CloseTarget();
        break;
    case ESaveStrategy::writeWhereItStands:
        file.CloseTarget();
        break;
    case ESaveStrategy::replaceThroughUnnamedTemporary:
    case ESaveStrategy::replaceThroughNamedTemporary:
        file.PutInPlace();
        break;
    }
    m_pFile.reset();
}

void CFile::Abort()
{
    if (m_pFile)
        m_pFile->Abort();
    m_pFile.reset();
}

void WalkFolder(const std::string& strFolder, const char* pszExtension,
                const std::function<void(const std::string&)>& onFile,
                const FolderWalkError& onError)
{
    std::vector<std::string> folders;
    ReadFolderForWalk(strFolder, pszExtension, onFile, onError, folders);
    for (const std::string& strSub : folders)
        WalkFolder(strSub, pszExtension, onFile, onError);
}
