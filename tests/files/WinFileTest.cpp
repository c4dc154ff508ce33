// The Windows file layer against what Windows does to files: other programs
// holding them, read-only files, reserved and long names, UTF-8 names, hard
// links. Runs under wine.
#include "FileTestSupport.h"

#include "files/File.h"
#include "files/Path.h"
#include "files/Win32.h"

namespace
{
// A second program holding a file (velkor_hold_file) until destroyed.
class CHolder
{
public:
    CHolder(const std::string& strMode, const std::string& strPath)
    {
        SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
        HANDLE hOutRead = nullptr, hOutWrite = nullptr, hInRead = nullptr;
        if (!CreatePipe(&hOutRead, &hOutWrite, &sa, 0) || !CreatePipe(&hInRead, &m_hIn, &sa, 0))
            return;
        SetHandleInformation(hOutRead, HANDLE_FLAG_INHERIT, 0);
        SetHandleInformation(m_hIn, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOW si = {};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdInput = hInRead;
        si.hStdOutput = hOutWrite;
        si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
        std::wstring strCommand = L"\"" + Utf8ToWide(VELKOR_HOLD_FILE_EXE) + L"\" " +
                                  Utf8ToWide(strMode) + L" \"" + Utf8ToWide(strPath) + L"\"";
        PROCESS_INFORMATION pi = {};
        const bool bStarted = CreateProcessW(nullptr, strCommand.data(), nullptr, nullptr, TRUE, 0,
                                             nullptr, nullptr, &si, &pi);
        CloseHandle(hOutWrite);
        CloseHandle(hInRead);
        if (bStarted)
        {
            CloseHandle(pi.hThread);
            m_hProcess = pi.hProcess;
            char sz[8] = {};
            DWORD n = 0;
            // "ready" and a line end, in text mode CR LF.
            m_bReady = ReadFile(hOutRead, sz, 5, &n, nullptr) && std::string(sz, n) == "ready";
        }
        CloseHandle(hOutRead);
    }
    ~CHolder()
    {
        CloseHandle(m_hIn); // its standard input ends: it lets go
        if (m_hProcess != nullptr)
        {
            if (WaitForSingleObject(m_hProcess, 10000) != WAIT_OBJECT_0)
                TerminateProcess(m_hProcess, 1);
            CloseHandle(m_hProcess);
        }
    }
    bool IsReady() const { return m_bReady; }
    // Ends it at once, wherever it is, as a kill does.
    void Kill()
    {
        TerminateProcess(m_hProcess, 9);
        WaitForSingleObject(m_hProcess, 10000);
    }

private:
    HANDLE m_hIn = nullptr;
    HANDLE m_hProcess = nullptr;
    bool m_bReady = false;
};

std::string NewProjectBytes()
{
    CRiskModel model;
    return MakeProjectBytes(model);
}

// Saves a distinctive project to strPath; the failure's kind, or -1.
int SaveKind(const std::string& strPath)
{
    CRiskModel model;
    MakeDistinctive(model);
    try
    {
        SaveProject(model, strPath);
    }
    catch (const CFileException& e)
    {
        EXPECT_EQ(e.GetFileName(), strPath);
        return e.GetCause();
    }
    return -1;
}

int LoadKind(const std::string& strPath)
{
    CRiskModel model;
    try
    {
        LoadProject(model, strPath);
    }
    catch (const CFileException& e)
    {
        return e.GetCause();
    }
    return -1;
}
} // namespace

// Another program has the file: reading and saving are refused with the
// kind Windows reports, the file keeps its bytes and no temporary file stays.
TEST(WinFile, AnotherProgramHoldingTheFile)
{
    struct Case
    {
        const char* pszMode;
        int nLoad; // -1: loads
        int nSave;
    };
    const Case cases[] = {
        {"exclusive", CFileException::sharingViolation, CFileException::sharingViolation},
        {"reader", -1, CFileException::sharingViolation},
        {"lock", CFileException::lockViolation, CFileException::lockViolation},
    };
    for (const Case& c : cases)
    {
        CScratchDir dir;
        const std::string strPath = dir / "held.vlk";
        WriteBytes(strPath, NewProjectBytes());
        const CHolder holder(c.pszMode, strPath);
        ASSERT_TRUE(holder.IsReady()) << c.pszMode;
        EXPECT_EQ(LoadKind(strPath), c.nLoad) << c.pszMode;
        const int nSave = SaveKind(strPath);
        if (c.nSave == CFileException::lockViolation)
        {
            // The lock stops the write, wherever Windows notices it.
            EXPECT_TRUE(nSave == CFileException::lockViolation ||
                        nSave == CFileException::sharingViolation)
                << nSave;
        }
        else
        {
            EXPECT_EQ(nSave, c.nSave) << c.pszMode;
        }
        EXPECT_EQ(dir.Names(), std::vector<std::string>{"held.vlk"}) << c.pszMode;
    }
}

TEST(WinFile, ASharingViolationNamesTheFile)
{
    CScratchDir dir;
    const std::string strPath = dir / "plän €.vlk";
    WriteBytes(strPath, NewProjectBytes());
    const CHolder holder("exclusive", strPath);
    ASSERT_TRUE(holder.IsReady());
    CRiskModel model;
    const CFileException e = CatchFileException([&] { LoadProject(model, strPath); });
    EXPECT_EQ(e.GetErrorMessage(), "A sharing violation occurred while accessing " + strPath + ".");
}

TEST(WinFile, AReadOnlyFileIsNotReplaced)
{
    CScratchDir dir;
    const std::string strPath = dir / "ro.vlk";
    WriteBytes(strPath, NewProjectBytes());
    ASSERT_TRUE(SetFileAttributesW(Utf8ToWide(strPath).c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(SaveKind(strPath), CFileException::accessDenied);
    EXPECT_EQ(ReadBytes(strPath), NewProjectBytes());
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"ro.vlk"});
    SetFileAttributesW(Utf8ToWide(strPath).c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Device names and names Windows would change are invalid paths; nothing
// is created and no device is opened.
TEST(WinFile, ReservedNamesAreInvalidPaths)
{
    CScratchDir dir;
    for (const char* pszName :
         {"CON", "nul", "NUL.txt", "COM1", "lpt9.vlk", "aux .vlk", "plan.vlk.", "plan.vlk ",
          "CONOUT$", "COM0", "COM¹", "com².vlk", "COM³ .txt", "LPT¹", "lpt².vlk", "LPT³"})
    {
        const std::string strPath = dir / pszName;
        EXPECT_EQ(SaveKind(strPath), CFileException::badPath) << pszName;
        EXPECT_EQ(LoadKind(strPath), CFileException::badPath) << pszName;
    }
    EXPECT_EQ(LoadKind("\\\\.\\PhysicalDrive0"), CFileException::badPath);
    EXPECT_TRUE(dir.Names().empty());
    // Names that only look like them are files like any other.
    for (const char* pszName :
         {"CONSOLE.vlk", "COM10.vlk", "nul-report.vlk", "LPT.vlk", "COM⁴.vlk", "LPT¹¹.vlk"})
        EXPECT_EQ(SaveKind(dir / pszName), -1) << pszName;
}

// Relative, full, forward-slash, UTF-8 and long paths all save and load the
// same bytes, and replacing a file keeps no temporary file.
TEST(WinFile, PathsOfEveryFormRoundTrip)
{
    CScratchDir dir;
    std::string strLong = dir.Path();
    while (strLong.size() < 300)
        strLong += "\\folder-with-a-rather-long-name";
    ASSERT_TRUE(std::filesystem::create_directories(FsPath(strLong)));
    std::string strForward = dir / "forward.vlk";
    std::replace(strForward.begin(), strForward.end(), '\\', '/');
    const std::filesystem::path oldCurrent = std::filesystem::current_path();
    std::filesystem::current_path(FsPath(dir.Path()));
    for (const std::string& strPath :
         {std::string("relative.vlk"), dir / "full.vlk", strForward, dir / "plän-€ 日本.vlk",
          strLong + "\\long.vlk", dir / "full.vlk"})
    {
        CRiskModel model;
        MakeDistinctive(model);
        ASSERT_NO_THROW(SaveProject(model, strPath)) << strPath;
        ASSERT_NO_THROW(SaveProject(model, strPath)) << strPath; // replaces it
        CRiskModel loaded;
        ASSERT_NO_THROW(LoadProject(loaded, strPath)) << strPath;
        EXPECT_EQ(MakeProjectBytes(loaded), MakeProjectBytes(model)) << strPath;
    }
    std::filesystem::current_path(oldCurrent);
    EXPECT_EQ(dir.Names(),
              (std::vector<std::string>{"folder-with-a-rather-long-name", "forward.vlk", "full.vlk",
                                        "plän-€ 日本.vlk", "relative.vlk"}));
}

// Missing files and folders, and folders in place of files.
TEST(WinFile, MissingFilesAndFolders)
{
    CScratchDir dir;
    EXPECT_EQ(LoadKind(dir / "missing.vlk"), CFileException::fileNotFound);
    EXPECT_EQ(LoadKind(dir / "no\\such.vlk"), CFileException::badPath);
    EXPECT_EQ(SaveKind(dir / "no\\such.vlk"), CFileException::badPath);
    std::filesystem::create_directory(FsPath(dir / "folder.vlk"));
    EXPECT_EQ(LoadKind(dir / "folder.vlk"), CFileException::accessDenied);
    EXPECT_EQ(SaveKind(dir / "folder.vlk"), CFileException::accessDenied);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"folder.vlk"});
}

// A file with two names is rewritten in place: both names see the new
// content; a file with one name is replaced, and keeps its attributes.
TEST(WinFile, ReplacingKeepsHardLinksAndAttributes)
{
    CScratchDir dir;
    WriteBytes(dir / "a.vlk", NewProjectBytes());
    ASSERT_TRUE(CreateHardLinkW(Utf8ToWide(dir / "b.vlk").c_str(),
                                Utf8ToWide(dir / "a.vlk").c_str(), nullptr));
    CRiskModel model;
    MakeDistinctive(model);
    SaveProject(model, dir / "a.vlk");
    EXPECT_EQ(ReadBytes(dir / "b.vlk"), MakeProjectBytes(model));
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a.vlk", "b.vlk"}));

    WriteBytes(dir / "hidden.vlk", NewProjectBytes());
    SetFileAttributesW(Utf8ToWide(dir / "hidden.vlk").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SaveProject(model, dir / "hidden.vlk");
    EXPECT_EQ(ReadBytes(dir / "hidden.vlk"), MakeProjectBytes(model));
    EXPECT_TRUE(GetFileAttributesW(Utf8ToWide(dir / "hidden.vlk").c_str()) & FILE_ATTRIBUTE_HIDDEN);
}

// Readers share; bytes keep their line ends; a file is its own same file.
TEST(WinFile, ReadersShareAndIdentityFollowsTheFile)
{
    CScratchDir dir;
    const std::string strPath = dir / "p.vlk";
    WriteBytes(strPath, NewProjectBytes());
    CFile first(strPath, CFile::modeRead);
    CFile second(strPath, CFile::modeRead);
    char ab[4];
    EXPECT_EQ(second.Read(ab, sizeof ab), sizeof ab);
    EXPECT_EQ(LoadKind(strPath), -1);
    first.Close();
    second.Close();

    // Bytes go out as they are: no line-end translation.
    CFile out(dir / "r.txt", CFile::modeCreateShared);
    out.Write("a\r\nb\n", 5);
    out.Close();
    EXPECT_EQ(ReadBytes(dir / "r.txt"), "a\r\nb\n");
    std::string strOther = dir / "P.VLK";
    EXPECT_TRUE(IsSameFile(strPath, strOther));
    EXPECT_FALSE(IsSameFile(strPath, dir / "r.txt"));
    EXPECT_FALSE(IsSameFile(strPath, dir / "missing.vlk"));
}

// A save killed at any moment leaves the old or the new content under the
// file's name (a file with one name is replaced, one with two is rewritten
// in place: then a torn file has its old content in the recovery copy), and
// the next save leaves no temporary file or copy behind.
TEST(WinFile, AKilledSaveLeavesTheOldOrTheNewFile)
{
    std::minstd_rand random(std::random_device{}());
    for (const bool bLinked : {false, true})
    {
        CScratchDir dir;
        const std::string strPath = dir / "p.vlk";
        WriteBytes(strPath, std::string(65536, 'a'));
        if (bLinked)
        {
            ASSERT_TRUE(CreateHardLinkW(Utf8ToWide(dir / "q.vlk").c_str(),
                                        Utf8ToWide(strPath).c_str(), nullptr));
        }
        for (int nKill = 0; nKill < 15; ++nKill)
        {
            CHolder saver("save", strPath);
            ASSERT_TRUE(saver.IsReady());
            Sleep(1 + random() % 60);
            saver.Kill();
            const std::string strBytes = ReadBytes(strPath);
            const bool bWhole =
                strBytes == std::string(65536, 'a') || strBytes == std::string(65536, 'b');
            const std::string strCopy = GetRecoveryCopyPath(strPath);
            EXPECT_TRUE(bWhole || (!strCopy.empty() && ReadBytes(strCopy).size() == 65536))
                << "kill " << nKill << ": " << strBytes.size() << " bytes";
            if (!bWhole && !strCopy.empty())
                WriteBytes(strPath, ReadBytes(strCopy)); // as the user would put it back
        }
        CFile file(strPath, CFile::modeCreate);
        file.Write("new", 3);
        file.Close();
        EXPECT_EQ(ReadBytes(strPath), "new");
        const std::vector<std::string> names = {"p.vlk", "q.vlk"};
        EXPECT_EQ(dir.Names(),
                  std::vector<std::string>(names.begin(), names.begin() + 1 + bLinked));
    }
}

// A damaged file that a killed rewrite in place left names its recovery
// copy beside it; the next complete save removes the copy.
TEST(WinFile, ADamagedFileNamesItsRecoveryCopy)
{
    CScratchDir dir;
    const std::string strPath = dir / "p.vlk";
    WriteBytes(strPath, NewProjectBytes().substr(0, 100));
    WriteBytes(dir / ".p.vlk.velkor-backup", NewProjectBytes());
    CRiskModel model;
    const CFileException e = CatchFileException([&] { LoadProject(model, strPath); });
    EXPECT_NE(e.GetErrorMessage().find(" Its content before an interrupted save is in "),
              std::string::npos)
        << e.GetErrorMessage();
    EXPECT_NE(e.GetErrorMessage().find("\\.p.vlk.velkor-backup."), std::string::npos);
    EXPECT_EQ(SaveKind(strPath), -1);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"p.vlk"});
}
