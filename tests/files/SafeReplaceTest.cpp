// How a write replaces its target: permission bits kept, symbolic links
// written through, non-regular files written in place.
#include "FileTestSupport.h"

#include "files/File.h"
#include "report/TextReport.h"

#include <fcntl.h>

namespace
{
mode_t ModeOf(const std::string& strPath)
{
    struct stat st = {};
    EXPECT_EQ(stat(strPath.c_str(), &st), 0);
    return st.st_mode & 07777;
}

std::string NewProjectBytes()
{
    CRiskModel model;
    return MakeProjectBytes(model);
}
} // namespace

TEST(SafeReplace, KeepsPermissionBitsAndNewFilesFollowTheUmask)
{
    CScratchDir dir;
    WriteBytes(dir / "plan.vlk", "old");
    ASSERT_EQ(chmod((dir / "plan.vlk").c_str(), 0640), 0);
    CRiskModel model;
    SaveProject(model, dir / "plan.vlk");
    EXPECT_EQ(ModeOf(dir / "plan.vlk"), 0640u);
    EXPECT_EQ(ReadBytes(dir / "plan.vlk"), NewProjectBytes());

    const mode_t oldMask = umask(027);
    WriteTextReport(MakeSnapshot(model), dir / "new.txt");
    umask(oldMask);
    EXPECT_EQ(ModeOf(dir / "new.txt"), 0640u);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"new.txt", "plan.vlk"}));
}

TEST(SafeReplace, ReadersOfTheOldFileKeepItsContent)
{
    // The new content arrives by rename, never by rewriting the old file.
    CScratchDir dir;
    WriteBytes(dir / "plan.vlk", "old content");
    const int nFd = open((dir / "plan.vlk").c_str(), O_RDONLY);
    ASSERT_GE(nFd, 0);
    CRiskModel model;
    SaveProject(model, dir / "plan.vlk");
    char buffer[32] = {};
    EXPECT_EQ(pread(nFd, buffer, sizeof buffer, 0), 11);
    EXPECT_STREQ(buffer, "old content");
    close(nFd);
    EXPECT_EQ(ReadBytes(dir / "plan.vlk"), NewProjectBytes());
}

TEST(SafeReplace, WritesThroughSymbolicLinks)
{
    CScratchDir dir;
    ASSERT_EQ(mkdir((dir / "data").c_str(), 0755), 0);
    WriteBytes(dir / "data/real.vlk", "old");
    ASSERT_EQ(chmod((dir / "data/real.vlk").c_str(), 0600), 0);
    ASSERT_EQ(symlink("data/real.vlk", (dir / "link.vlk").c_str()), 0); // relative
    ASSERT_EQ(symlink((dir / "link.vlk").c_str(), (dir / "chain.vlk").c_str()),
              0); // a link to a link
    ASSERT_EQ(symlink("data/later.vlk", (dir / "dangling.vlk").c_str()), 0);

    CRiskModel model;
    SaveProject(model, dir / "chain.vlk");
    EXPECT_EQ(ReadBytes(dir / "data/real.vlk"), NewProjectBytes());
    EXPECT_EQ(ModeOf(dir / "data/real.vlk"), 0600u);
    EXPECT_EQ(std::filesystem::read_symlink(dir / "link.vlk"), "data/real.vlk");
    EXPECT_EQ(std::filesystem::read_symlink(dir / "chain.vlk"), dir / "link.vlk");

    SaveProject(model, dir / "dangling.vlk"); // creates the file the link names
    EXPECT_EQ(ReadBytes(dir / "data/later.vlk"), NewProjectBytes());
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "dangling.vlk"));
    EXPECT_EQ(dir.Names(),
              (std::vector<std::string>{"chain.vlk", "dangling.vlk", "data", "link.vlk"}));
    EXPECT_EQ(dir.Names("data"), (std::vector<std::string>{"later.vlk", "real.vlk"}));

    // A loop of links names no file.
    ASSERT_EQ(symlink("loop2", (dir / "loop1").c_str()), 0);
    ASSERT_EQ(symlink("loop1", (dir / "loop2").c_str()), 0);
    for (const auto& f : {std::function<void()>([&] { SaveProject(model, dir / "loop1"); }),
                          std::function<void()>([&] { LoadProject(model, dir / "loop1"); })})
        EXPECT_EQ(CatchFileException(f).GetErrorMessage(),
                  dir / "loop1" + " contains an invalid path.");
}

TEST(SafeReplace, PipesAreWrittenInPlace)
{
    CScratchDir dir;
    const std::string strFifo = dir / "pipe.vlk";
    ASSERT_EQ(mkfifo(strFifo.c_str(), 0644), 0);
    // Holding both ends lets the writer open the pipe without a reader process.
    const int nFd = open(strFifo.c_str(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(nFd, 0);

    CRiskModel model;
    SaveProject(model, strFifo);
    std::string strBytes(1000, '\0');
    const ssize_t nRead = read(nFd, strBytes.data(), strBytes.size());
    ASSERT_GE(nRead, 0);
    strBytes.resize(static_cast<std::size_t>(nRead));
    EXPECT_EQ(strBytes, NewProjectBytes());
    close(nFd);
    EXPECT_TRUE(std::filesystem::is_fifo(strFifo));
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"pipe.vlk"});
}

TEST(SafeReplace, OpenFileAliasesAreWrittenInPlace)
{
    // /dev/stdout and friends lead to /proc/self/fd/N: the open file itself
    // receives the bytes, whatever it is.
    CScratchDir dir;
    WriteBytes(dir / "out.txt", std::string(2000, 'x'));
    const int nFd = open((dir / "out.txt").c_str(), O_RDWR);
    ASSERT_GE(nFd, 0);
    CRiskModel model;
    WriteTextReport(MakeSnapshot(model), "/proc/self/fd/" + std::to_string(nFd));
    close(nFd);
    // Written at the descriptor's position, nothing truncated.
    const std::string strReport = MakeTextReport(MakeSnapshot(model));
    EXPECT_EQ(ReadBytes(dir / "out.txt"), strReport + std::string(2000 - strReport.size(), 'x'));
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"out.txt"});
}

TEST(SafeReplace, AnAbandonedWriteLeavesNoTrace)
{
    CScratchDir dir;
    WriteBytes(dir / "plan.vlk", "old");
    {
        CFile file(dir / "plan.vlk", CFile::modeCreate);
        file.Write("new", 3);
        // An unnamed temporary file has no name yet, a named one has.
        const bool bUnnamed =
            std::string(file.GetSaveStrategyName()) == "replace through an unnamed temporary";
        EXPECT_EQ(dir.Names().size(), bUnnamed ? 1u : 2u) << file.GetSaveStrategyName();
    } // destroyed without Close()
    EXPECT_EQ(ReadBytes(dir / "plan.vlk"), "old");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"plan.vlk"});

    // Long names still leave room for the temporary file's name.
    const std::string strLong = dir / (std::string(250, 'n') + ".vlk");
    CRiskModel model;
    SaveProject(model, strLong);
    EXPECT_EQ(ReadBytes(strLong), NewProjectBytes());
}
