// What each kind of file failure reports, and that none of them loses or
// damages anything: the old file stays, no temporary file is left, the
// model is untouched.
#include "FileTestSupport.h"

#include "files/File.h"
#include "report/HtmlReport.h"
#include "report/TextReport.h"

#include <csignal>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/resource.h>

namespace
{
// A scratch folder holding one saved project, old.vlk.
class FileErrors : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CRiskModel old;
        old.GetQuestion(5)->SetSelected(3);
        m_strOldPath = m_dir / "old.vlk";
        SaveProject(old, m_strOldPath);
        m_strOldBytes = ReadBytes(m_strOldPath);
        MakeDistinctive(m_model);
        m_strModelBefore = Snapshot(m_model);
    }

    // Every way of writing strPath fails with the same message, and leaves
    // the folder with exactly the names it had and old.vlk as it was.
    void ExpectEveryWriteFails(const std::string& strPath, CFileException::Cause cause,
                               const std::string& strMessage)
    {
        const auto names = m_dir.Names();
        const std::function<void()> writers[] = {
            [&] { SaveProject(m_model, strPath); },
            [&] { WriteTextReport(MakeSnapshot(m_model), strPath); },
            [&] { WriteHtmlReport(MakeSnapshot(m_model, "t"), strPath); },
        };
        for (const auto& writer : writers)
        {
            const CFileException e = CatchFileException(writer);
            EXPECT_EQ(e.GetCause(), cause);
            EXPECT_EQ(e.GetErrorMessage(), strMessage);
            EXPECT_EQ(m_dir.Names(), names);
            EXPECT_EQ(ReadBytes(m_strOldPath), m_strOldBytes);
        }
        EXPECT_EQ(MakeProjectBytes(m_model), m_strModelBefore.substr(0, PROJECT_FILE_SIZE));
    }

    void ExpectLoadFails(const std::string& strPath, CFileException::Cause cause,
                         const std::string& strMessage)
    {
        const CFileException e = CatchFileException([&] { LoadProject(m_model, strPath); });
        EXPECT_EQ(e.GetCause(), cause);
        EXPECT_EQ(e.GetErrorMessage(), strMessage);
        EXPECT_EQ(Snapshot(m_model), m_strModelBefore);
    }

    CScratchDir m_dir;
    std::string m_strOldPath;
    std::string m_strOldBytes;
    CRiskModel m_model;
    std::string m_strModelBefore;
};

// Holds an exclusive flock on a file, as another program would.
class CForeignLock
{
public:
    explicit CForeignLock(const std::string& strPath) : m_nFd(open(strPath.c_str(), O_RDONLY))
    {
        EXPECT_GE(m_nFd, 0);
        EXPECT_EQ(flock(m_nFd, LOCK_EX | LOCK_NB), 0);
    }
    ~CForeignLock() { close(m_nFd); }
    CForeignLock(const CForeignLock&) = delete;
    CForeignLock& operator=(const CForeignLock&) = delete;

private:
    int m_nFd;
};
} // namespace

TEST_F(FileErrors, MissingFileOrFolderOnLoadIsNotFound)
{
    ExpectLoadFails(m_dir / "none.vlk", CFileException::fileNotFound,
                    m_dir / "none.vlk" + " was not found.");
    ExpectLoadFails(m_dir / "nofolder/a.vlk", CFileException::fileNotFound,
                    m_dir / "nofolder/a.vlk" + " was not found.");
    ExpectLoadFails(m_strOldPath + "/x.vlk", CFileException::badPath,
                    m_strOldPath + "/x.vlk contains an invalid path.");
}

TEST_F(FileErrors, MissingFolderOnSaveIsABadPath)
{
    ExpectEveryWriteFails(m_dir / "nofolder/a.vlk", CFileException::badPath,
                          m_dir / "nofolder/a.vlk contains an invalid path.");
    ExpectEveryWriteFails(m_strOldPath + "/x.vlk", CFileException::badPath,
                          m_strOldPath + "/x.vlk contains an invalid path.");
}

TEST_F(FileErrors, DirectoryIsAccessDenied)
{
    ASSERT_EQ(mkdir((m_dir / "sub.vlk").c_str(), 0755), 0);
    ExpectLoadFails(m_dir / "sub.vlk", CFileException::accessDenied,
                    "Access to " + m_dir / "sub.vlk" + " was denied.");
    ExpectEveryWriteFails(m_dir / "sub.vlk", CFileException::accessDenied,
                          "Access to " + m_dir / "sub.vlk" + " was denied.");
    EXPECT_TRUE(std::filesystem::is_directory(m_dir / "sub.vlk"));
}

TEST_F(FileErrors, UnreadableFileIsAccessDenied)
{
    ASSERT_EQ(chmod(m_strOldPath.c_str(), 0), 0);
    const std::string strResult = RunUnprivileged(
        [&]
        {
            try
            {
                LoadProject(m_model, m_strOldPath);
                return std::string("loaded");
            }
            catch (const CFileException& e)
            {
                return e.GetErrorMessage() +
                       (Snapshot(m_model) == m_strModelBefore ? "" : " (model changed)");
            }
        });
    EXPECT_EQ(strResult, "Access to " + m_strOldPath + " was denied.");
}

TEST_F(FileErrors, ReadOnlyFileIsNotReplaced)
{
    // The folder allows a new file; the file itself refuses changes.
    ASSERT_EQ(chmod(m_dir.Path().c_str(), 0777), 0);
    ASSERT_EQ(chmod(m_strOldPath.c_str(), 0444), 0);
    const std::string strResult = RunUnprivileged(
        [&]
        {
            std::string strOut;
            for (const auto& writer :
                 {std::function<void()>([&] { SaveProject(m_model, m_strOldPath); }),
                  std::function<void()>([&] { WriteTextReport(MakeSnapshot(m_model), m_strOldPath); })})
            {
                try
                {
                    writer();
                    strOut += "written;";
                }
                catch (const CFileException& e)
                {
                    strOut += e.GetErrorMessage() + ";";
                }
            }
            return strOut;
        });
    const std::string strDenied = "Access to " + m_strOldPath + " was denied.;";
    EXPECT_EQ(strResult, strDenied + strDenied);
    EXPECT_EQ(ReadBytes(m_strOldPath), m_strOldBytes);
    EXPECT_EQ(m_dir.Names(), std::vector<std::string>{"old.vlk"});
}

TEST_F(FileErrors, LockedFileIsASharingViolation)
{
    const CForeignLock lock(m_strOldPath);
    const std::string strMessage =
        "A sharing violation occurred while accessing " + m_strOldPath + ".";
    ExpectLoadFails(m_strOldPath, CFileException::sharingViolation, strMessage);
    for (const auto& writer :
         {std::function<void()>([&] { SaveProject(m_model, m_strOldPath); }),
          std::function<void()>([&] { WriteHtmlReport(MakeSnapshot(m_model, "t"), m_strOldPath); })})
    {
        EXPECT_EQ(CatchFileException(writer).GetErrorMessage(), strMessage);
        EXPECT_EQ(ReadBytes(m_strOldPath), m_strOldBytes);
    }
    // The text report lets others have the file open meanwhile.
    WriteTextReport(MakeSnapshot(m_model), m_strOldPath);
    EXPECT_EQ(ReadBytes(m_strOldPath), MakeTextReport(MakeSnapshot(m_model)));
    EXPECT_EQ(m_dir.Names(), std::vector<std::string>{"old.vlk"});
}

TEST_F(FileErrors, WritesThatStopShortAreADiskFull)
{
    // A file size limit makes write() stop part-way (short write) or refuse
    // at once (EFBIG), as a full disk does, without root.
    struct rlimit old = {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    for (const rlim_t nLimit : {rlim_t{0}, rlim_t{100}})
    {
        struct rlimit limit = old;
        limit.rlim_cur = nLimit;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
        ExpectEveryWriteFails(m_strOldPath, CFileException::diskFull,
                              "Disk full while accessing " + m_strOldPath + ".");
        ExpectEveryWriteFails(m_dir / "new.txt", CFileException::diskFull,
                              "Disk full while accessing " + m_dir / "new.txt" + ".");
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &old), 0);
    }
    std::signal(SIGXFSZ, oldHandler);
}

TEST_F(FileErrors, FullFileSystemIsADiskFull)
{
    const std::string strMount = m_dir / "small";
    ASSERT_EQ(mkdir(strMount.c_str(), 0755), 0);
    if (mount("tmpfs", strMount.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a small tmpfs here (needs root): " << std::strerror(errno);
    struct Unmount
    {
        std::string strPath;
        ~Unmount() { umount(strPath.c_str()); }
    } unmount{strMount};

    const std::string strTarget = strMount + "/plan.vlk";
    WriteBytes(strTarget, m_strOldBytes);
    {
        // Fill what is left.
        std::ofstream filler(strMount + "/filler", std::ios::binary);
        const std::string strBlock(4096, 'x');
        for (int i = 0; i < 64 && filler; ++i)
            filler.write(strBlock.data(), static_cast<std::streamsize>(strBlock.size()));
    }
    const auto names = m_dir.Names("small");
    for (const auto& writer :
         {std::function<void()>([&] { SaveProject(m_model, strTarget); }),
          std::function<void()>([&] { WriteTextReport(MakeSnapshot(m_model), strTarget); }),
          std::function<void()>([&] { WriteHtmlReport(MakeSnapshot(m_model, "t"), strTarget); })})
    {
        const CFileException e = CatchFileException(writer);
        EXPECT_EQ(e.GetErrorMessage(), "Disk full while accessing " + strTarget + ".");
        EXPECT_EQ(ReadBytes(strTarget), m_strOldBytes);
        EXPECT_EQ(m_dir.Names("small"), names);
    }
}

TEST(FileException, EveryKindHasItsMessage)
{
    const std::pair<CFileException::Cause, const char*> messages[] = {
        {CFileException::generic, "An unknown error occurred while accessing F."},
        {CFileException::fileNotFound, "F was not found."},
        {CFileException::badPath, "F contains an invalid path."},
        {CFileException::tooManyOpenFiles,
         "F could not be opened because there are too many open files."},
        {CFileException::accessDenied, "Access to F was denied."},
        {CFileException::invalidFile, "An invalid file handle was associated with F."},
        {CFileException::removeCurrentDir,
         "F could not be removed because it is the current directory."},
        {CFileException::directoryFull, "F could not be created because the directory is full."},
        {CFileException::badSeek, "Seek failed on F"},
        {CFileException::hardIO, "A hardware I/O error was reported while accessing F."},
        {CFileException::sharingViolation, "A sharing violation occurred while accessing F."},
        {CFileException::lockViolation, "A locking violation occurred while accessing F."},
        {CFileException::diskFull, "Disk full while accessing F."},
        {CFileException::endOfFile, "An attempt was made to access F past its end."},
    };
    for (const auto& [cause, pszMessage] : messages)
    {
        const CFileException e(cause, "F");
        EXPECT_EQ(e.GetErrorMessage(), pszMessage);
        EXPECT_STREQ(e.what(), pszMessage);
        EXPECT_EQ(e.GetFileName(), "F");
    }
    // A name that itself holds "%1" is inserted once, not expanded again.
    EXPECT_EQ(CFileException(CFileException::fileNotFound, "a%1b").GetErrorMessage(),
              "a%1b was not found.");
}

TEST(FileException, KindsFromErrno)
{
    using E = CFileException;
    EXPECT_EQ(E::CauseFromErrno(ENOENT), E::fileNotFound);
    EXPECT_EQ(E::CauseFromErrno(ENOENT, true), E::badPath);
    for (const int n : {ENOTDIR, ENAMETOOLONG, ELOOP, EINVAL})
        EXPECT_EQ(E::CauseFromErrno(n), E::badPath) << n;
    for (const int n : {EMFILE, ENFILE})
        EXPECT_EQ(E::CauseFromErrno(n), E::tooManyOpenFiles) << n;
    for (const int n : {EACCES, EPERM, EROFS, EISDIR})
        EXPECT_EQ(E::CauseFromErrno(n), E::accessDenied) << n;
    for (const int n : {ENOSPC, EDQUOT, EFBIG})
        EXPECT_EQ(E::CauseFromErrno(n), E::diskFull) << n;
    EXPECT_EQ(E::CauseFromErrno(EBADF), E::invalidFile);
    EXPECT_EQ(E::CauseFromErrno(EIO), E::hardIO);
    EXPECT_EQ(E::CauseFromErrno(ESPIPE), E::badSeek);
    EXPECT_EQ(E::CauseFromErrno(EXDEV), E::generic);
}
