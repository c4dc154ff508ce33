// Files that could hang, strip or misroute a save: pipes, hard links, ACLs
// and extended attributes, another owner's file, an unwritable folder, a
// path near PATH_MAX, locks, a full pipe, planted links, /proc names, kills
// in the middle of a rewrite, a full disk, and velkor-report's outputs over
// its own inputs. Nothing may wait, lose an attribute, write where it
// should not or leave a stray file. One test per case; a case this machine
// cannot set up is skipped.
#include "HostileCases.h"
#include "RunReport.h"

#include "files/File.h"
#include "report/HtmlReport.h"
#include "report/Snapshot.h"
#include "report/TextReport.h"

#include <csignal>
#include <cstring>
#include <fstream>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/xattr.h>

namespace
{
using namespace hostile;

const HostileCase s_aCases[] = {
    {"a pipe is refused at once, both ways",
     [](const CScratchDir& dir)
     {
         const std::string strPath = dir / "p.vlk";
         mkfifo(strPath.c_str(), 0644);
         const std::string strDenied = "Access to " + strPath + " was denied.";
         CRiskModel model;
         std::string strResult;
         strResult += Check(Message([&] { LoadProject(model, strPath); }) == strDenied, "load");
         strResult += Check(Message([&] { SaveProject(model, strPath); }) == strDenied, "save");
         strResult += Check(
             Message([&] { WriteTextReport(MakeSnapshot(model), strPath); }) == strDenied, "txt");
         strResult += Check(Message([&] { WriteHtmlReport(MakeSnapshot(model, "t"), strPath); }) ==
                                strDenied,
                            "htm");
         return strResult + Check(std::filesystem::is_fifo(strPath), "pipe replaced");
     }},
    {"hard links stay, a failed save puts the old bytes back",
     [](const CScratchDir& dir)
     {
         const std::string strPath = dir / "p.vlk";
         std::string strResult = SaveOver(
             strPath, [&] { return link(strPath.c_str(), (dir / "q.vlk").c_str()) ? "link" : ""; });
         strResult += Check(Stat(strPath).st_nlink == 2 &&
                                ReadBytes(dir / "q.vlk") == MakeProjectBytes(Distinct()),
                            "link broken");
         // A file size limit stops the rewrite part-way, as a full disk does.
         const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
         rlimit old = {};
         getrlimit(RLIMIT_FSIZE, &old);
         rlimit limit = old;
         limit.rlim_cur = 100;
         setrlimit(RLIMIT_FSIZE, &limit);
         const std::string strMessage = Message([&] { SaveProject(CRiskModel(), strPath); });
         setrlimit(RLIMIT_FSIZE, &old);
         std::signal(SIGXFSZ, oldHandler);
         strResult += Check(strMessage == "Disk full while accessing " + strPath + ".",
                            "message: " + strMessage);
         return strResult +
                Check(ReadBytes(strPath) == MakeProjectBytes(Distinct()), "old bytes lost");
     }},
    {"extended attributes stay",
     [](const CScratchDir& dir)
     {
         const std::string strPath = dir / "p.vlk";
         const std::string strResult = SaveOver(
             strPath,
             [&]() -> std::string
             {
                 if (PORTABLE_FILE_LAYER)
                     return std::string(NO_ATTRIBUTES_SKIP);
                 if (setxattr(strPath.c_str(), "user.velkor", "x", 1, 0) == 0)
                     return "";
                 return std::string("skip: no user attributes here: ") + std::strerror(errno);
             });
         return strResult.starts_with("skip: ")
                    ? strResult
                    : strResult + Check(Attribute(strPath, "user.velkor") == "x", "attribute lost");
     }},
    {"ACLs stay",
     [](const CScratchDir& dir)
     {
         const std::string strPath = dir / "p.vlk";
         std::string strAcl;
         const std::string strResult = SaveOver(
             strPath,
             [&]() -> std::string
             {
                 if (PORTABLE_FILE_LAYER)
                     return std::string(NO_ATTRIBUTES_SKIP);
                 if (std::system(("setfacl -m u:65534:rw " + strPath + " 2>/dev/null").c_str()) !=
                     0)
                     return "skip: setfacl missing or no ACLs on this file system";
                 strAcl = Attribute(strPath, "system.posix_acl_access");
                 return "";
             });
         return strResult.starts_with("skip: ")
                    ? strResult
                    : strResult + Check(Attribute(strPath, "system.posix_acl_access") == strAcl,
                                        "ACL lost");
     }},
    {"a group member's save keeps owner, group and mode",
     [](const CScratchDir& dir)
     {
         if (geteuid() != 0)
             return std::string("skip: needs root to make a file of another owner");
         const std::string strPath = dir / "p.vlk";
         const std::string strResult = SaveOver(
             strPath,
             [&]
             {
                 // The folder would let the member replace the file.
                 chmod(dir.Path().c_str(), 0777);
                 const bool bOk =
                     chown(strPath.c_str(), 0, 4242) == 0 && chmod(strPath.c_str(), 0664) == 0;
                 const std::string strSaved = RunUnprivileged(
                     [&] { return Message([&] { SaveProject(Distinct(), strPath); }); }, {4242});
                 return bOk && strSaved.empty() ? "" : "member: " + strSaved;
             });
         return strResult + Check(Stat(strPath).st_uid == 0 && Stat(strPath).st_gid == 4242 &&
                                      (Stat(strPath).st_mode & 07777) == 0664,
                                  "owner, group or mode changed");
     }},
    {"a writable file in an unwritable folder is saved",
     [](const CScratchDir& dir)
     {
         mkdir((dir / "ro").c_str(), 0755);
         const std::string strPath = dir / "ro/p.vlk";
         WriteBytes(strPath, "old");
         chmod(strPath.c_str(), 0666);
         (void)!chown(strPath.c_str(), 65534, 65534); // the unprivileged user's, as root
         chmod((dir / "ro").c_str(), 0555);
         const std::string strSaved =
             RunUnprivileged([&] { return Message([&] { SaveProject(Distinct(), strPath); }); });
         chmod((dir / "ro").c_str(), 0755);
         return Check(strSaved.empty(), "save: " + strSaved) +
                Check(ReadBytes(strPath) == MakeProjectBytes(Distinct()), "not written") +
                Check(dir.Names("ro") == std::vector<std::string>{"p.vlk"}, "stray file");
     }},
    {"a 4,090-byte path works",
     [](const CScratchDir& dir)
     {
         std::string strDir = dir.Path();
         while (4090 - strDir.size() > 250)
         {
             strDir += "/" + std::string(200, 'd');
             mkdir(strDir.c_str(), 0755);
         }
         const std::string strPath =
             strDir + "/" + std::string(4090 - strDir.size() - 5, 'n') + ".vlk";
         CRiskModel model;
         std::string strResult = Check(strPath.size() == 4090, "path length");
         strResult += Message([&] { SaveProject(Distinct(), strPath); });
         strResult += Message([&] { SaveProject(Distinct(), strPath); }); // replaces
         strResult += Message([&] { WriteHtmlReport(MakeSnapshot(model, "t"), strPath); });
         strResult += Message([&] { LoadProject(model, strPath); });
         return strResult;
     }},
    {"readers share, a writer's lock still refuses them",
     [](const CScratchDir& dir)
     {
         const std::string strPath = dir / "p.vlk";
         SaveProject(Distinct(), strPath);
         const int nFd = open(strPath.c_str(), O_RDONLY);
         CRiskModel model;
         CFile reader(strPath, CFile::modeRead);
         std::string strResult = Check(flock(nFd, LOCK_SH | LOCK_NB) == 0, "shared lock");
         strResult += Message([&] { LoadProject(model, strPath); });
         flock(nFd, LOCK_UN);
         reader.Close();
         strResult += Check(flock(nFd, LOCK_EX | LOCK_NB) == 0, "exclusive lock");
         strResult += Check(Message([&] { LoadProject(model, strPath); }) ==
                                "A sharing violation occurred while accessing " + strPath + ".",
                            "writer's lock");
         close(nFd);
         return strResult;
     }},
    {"a full non-blocking pipe is waited for",
     [](const CScratchDir&)
     {
         int anPipe[2];
         if (pipe(anPipe) != 0)
             return std::string("pipe");
         fcntl(anPipe[1], F_SETFL, O_NONBLOCK);
         std::size_t nFill = 0;
         while (write(anPipe[1], "f", 1) == 1)
             ++nFill;
         std::string strRead;
         std::thread reader(
             [&]
             {
                 std::this_thread::sleep_for(std::chrono::milliseconds(50));
                 char buffer[4096];
                 ssize_t n = 0;
                 while ((n = read(anPipe[0], buffer, sizeof buffer)) > 0)
                     strRead.append(buffer, static_cast<std::size_t>(n));
             });
         CRiskModel model;
         const std::string strMessage = Message(
             [&] {
                 WriteTextReport(MakeSnapshot(model), "/proc/self/fd/" + std::to_string(anPipe[1]));
             });
         close(anPipe[1]);
         reader.join();
         close(anPipe[0]);
         return Check(strMessage.empty(), "write: " + strMessage) +
                Check(strRead == std::string(nFill, 'f') + MakeTextReport(MakeSnapshot(model)),
                      "bytes");
     }},

    {"velkor-report never writes over a project it reads",
     [](const CScratchDir& dir)
     {
         mkdir((dir / "t").c_str(), 0755);
         const std::string strProject = dir / "t/b.vlk";
         SaveProject(Distinct(), strProject);
         WriteBytes(dir / "in.json", "{}");
         std::string strResult;
         const auto Refused = [&](const std::vector<std::string>& args, const std::string& strWhat,
                                  bool bAppend = false)
         { strResult += Check(RunReport(dir, args, bAppend).nExit == 2, strWhat); };
         // A symbolic or a hard link as -o, standard output appending to the
         // project, and an import onto its own input.
         symlink(strProject.c_str(), (dir / "out.csv").c_str());
         link(strProject.c_str(), (dir / "hard.csv").c_str());
         Refused({"portfolio", "-o", dir / "out.csv", dir / "t"}, "symbolic link");
         Refused({"portfolio", "-o", dir / "hard.csv", dir / "t"}, "hard link");
         link(strProject.c_str(), (dir / ".stdout").c_str()); // RunReport's standard output
         Refused({"portfolio", dir / "t"}, ">> project", true);
         symlink((dir / "in.json").c_str(), (dir / "same.vlk").c_str());
         Refused({"import", dir / "in.json", dir / "same.vlk"}, "import onto its input");
         return strResult +
                Check(ReadBytes(strProject) == MakeProjectBytes(Distinct()), "project changed") +
                Check(ReadBytes(dir / "in.json") == "{}", "input changed");
     }},
    {"a link planted in a sticky folder is followed only as the kernel allows",
     [](const CScratchDir& dir)
     {
         if (geteuid() != 0)
             return std::string("skip: needs root to plant a link as another user");
         const CSysctl links("/proc/sys/fs/protected_symlinks", "1");
         const CSysctl regular("/proc/sys/fs/protected_regular", "1");
         if (!links.Ok() || !regular.Ok())
             return std::string("skip: fs.protected_symlinks cannot be set here");
         const std::string strShared = dir / "shared";
         mkdir(strShared.c_str(), 0755);
         chmod(strShared.c_str(), 01777);
         WriteBytes(dir / "victim.vlk", "victim");
         SaveProject(Distinct(), dir / "B.vlk");
         // Another user plants a link to root's file, and a file of their own.
         const std::string strPlanted = RunUnprivileged(
             [&]
             {
                 WriteBytes(strShared + "/theirs.txt", "theirs");
                 return std::string(
                     symlink((dir / "victim.vlk").c_str(), (strShared + "/report.txt").c_str()) == 0
                         ? ""
                         : "link");
             });
         if (!strPlanted.empty())
             return "planting failed: " + strPlanted;
         CRiskModel model;
         std::string strResult;
         for (const char* pszName : {"report.txt", "theirs.txt"})
         {
             const std::string strPath = strShared + "/" + pszName;
             const std::string strMessage =
                 Message([&] { WriteTextReport(MakeSnapshot(model), strPath); });
             strResult += Check(strMessage == "Access to " + strPath + " was denied.",
                                std::string(pszName) + ": " + strMessage);
         }
         const RunResult run = RunReport(dir, {dir / "B.vlk", strShared + "/report.txt"});
         strResult += Check(run.nExit == 1 && run.strErr.find("Access to") != std::string::npos,
                            "velkor-report: " + run.strErr);
         strResult += Check(ReadBytes(dir / "victim.vlk") == "victim", "planted target written");
         strResult += Check(ReadBytes(strShared + "/theirs.txt") == "theirs", "their file written");
         // Root's own link there is followed as before, to a file yet to be.
         symlink((dir / "mine.txt").c_str(), (strShared + "/mine.txt").c_str());
         strResult +=
             Message([&] { WriteTextReport(MakeSnapshot(model), strShared + "/mine.txt"); });
         return strResult +
                Check(ReadBytes(dir / "mine.txt") == MakeTextReport(MakeSnapshot(model)), "mine");
     }},
    {"names under /proc are files unless they are our own open descriptors",
     [](const CScratchDir& dir)
     {
         const auto oldCwd = std::filesystem::current_path();
         std::filesystem::current_path(dir.Path());
         SaveProject(CRiskModel(), dir / "target.vlk");
         std::string strResult =
             Message([&] { SaveProject(Distinct(), "/proc/self/cwd/target.vlk"); });
         strResult += Check(ReadBytes(dir / "target.vlk") == MakeProjectBytes(Distinct()),
                            "/proc/self/cwd not replaced");
         strResult += Check(!Message([&] { SaveProject(Distinct(), "/proc/self/fd/987"); }).empty(),
                            "a closed descriptor was written");
         // An open one, named by our process number, is written through.
         const int nFd = open((dir / "log.txt").c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
         (void)!write(nFd, "log\n", 4);
         CRiskModel model;
         strResult += Message(
             [&]
             {
                 WriteTextReport(MakeSnapshot(model), "/proc/" + std::to_string(getpid()) + "/fd/" +
                                                          std::to_string(nFd));
             });
         close(nFd);
         strResult +=
             Check(ReadBytes(dir / "log.txt") == "log\n" + MakeTextReport(MakeSnapshot(model)),
                   "descriptor not appended");
         // velkor-report's import, run in the same folder.
         std::string strJson = R"({"weights": {"technical": 0.5, "cost": 0.3, "schedule": 0.2}, )"
                               R"("answers": [0)";
         for (std::uint32_t i = 1; i < QUESTION_COUNT; ++i)
             strJson += ", 0";
         WriteBytes(dir / "b.json", strJson + "]}");
         strResult +=
             Check(RunReport(dir, {"import", "b.json", "/proc/self/cwd/target.vlk"}).nExit == 0,
                   "import");
         std::filesystem::current_path(oldCwd);
         return strResult + Check(ReadBytes(dir / "target.vlk").size() == PROJECT_FILE_SIZE &&
                                      ReadBytes(dir / "target.vlk") != MakeProjectBytes(Distinct()),
                                  "import appended");
     }},
    {"a rewrite in place killed at its truncate leaves the old content beside the file",
     [](const CScratchDir& dir)
     {
         if (!HaveProgram("strace"))
             return std::string("skip: strace is not installed");
         SaveProject(Distinct(), dir / "p.vlk");
         const std::string strOld(40000, 'o'); // longer than the export: its tail stays
         const std::string strOut = dir / "out.json";
         WriteBytes(strOut, strOld);
         link(strOut.c_str(), (dir / "linked.json").c_str());
         const std::string strCommand =
             "strace -f -o /dev/null -e trace=ftruncate -e inject=ftruncate:signal=KILL "
             "'" VELKOR_REPORT_EXE "' '" +
             dir / "p.vlk" + "' '" + strOut + "' 2>/dev/null";
         (void)!std::system(strCommand.c_str());
         std::string strResult =
             Check(ReadBytes(strOut).size() == strOld.size() && ReadBytes(strOut) != strOld,
                   "the kill did not come between write and truncate");
         strResult += Check(ReadBytes(dir / ".out.json.velkor-backup") == strOld, "no copy");
         // The next save completes the file and removes the copy.
         strResult += Check(RunReport(dir, {dir / "p.vlk", strOut}).nExit == 0, "next save");
         strResult += Check(HiddenNames(dir.Path()).empty(), "copy or temporary file left");
         strResult += Check(ReadBytes(strOut).size() < strOld.size() &&
                                ReadBytes(dir / "linked.json") == ReadBytes(strOut),
                            "not rewritten");
         // A damaged project says where its copy is.
         WriteBytes(dir / "short.vlk", "short");
         WriteBytes(dir / ".short.vlk.velkor-backup", MakeProjectBytes(Distinct()));
         CRiskModel model;
         return strResult + Check(Message([&] { LoadProject(model, dir / "short.vlk"); }) ==
                                      "An attempt was made to access " + dir / "short.vlk" +
                                          " past its end. Its content before an interrupted "
                                          "save is in " +
                                          dir / ".short.vlk.velkor-backup" + ".",
                                  "load message");
     }},
    {"a write-only file on a full disk is refused before a byte changes",
     [](const CScratchDir& dir)
     {
         const std::string strMount = dir / "full";
         mkdir(strMount.c_str(), 0755);
         if (geteuid() != 0 ||
             mount("tmpfs", strMount.c_str(), "tmpfs", 0, "size=64k,mode=0755") != 0)
             return "skip: cannot mount a small file system here: " +
                    std::string(std::strerror(errno));
         // The unprivileged user may write the file, not read it, and the
         // folder takes no new file: it can only be rewritten in place.
         const std::string strPath = strMount + "/report.htm";
         WriteBytes(strPath, "");
         chmod(strPath.c_str(), 0622);
         const int nFill = open((strMount + "/fill").c_str(), O_WRONLY | O_CREAT, 0644);
         const std::string strBlock(4096, 'f');
         while (write(nFill, strBlock.data(), strBlock.size()) > 0)
             ;
         close(nFill);
         CRiskModel model;
         const std::string strMessage = RunUnprivileged(
             [&] { return Message([&] { WriteHtmlReport(MakeSnapshot(model, "t"), strPath); }); });
         const std::string strResult =
             Check(strMessage == "Disk full while accessing " + strPath + ".",
                   "message: " + strMessage) +
             Check(ReadBytes(strPath).empty(), "file changed") +
             Check(HiddenNames(strMount).empty(), "stray file");
         umount(strMount.c_str());
         return strResult;
     }},
    {"temporary names are per process; abandoned ones go, held ones stay",
     [](const CScratchDir& dir)
     {
         const int nHeld = open((dir / ".p.vlk.77.velkor-tmp").c_str(), O_RDWR | O_CREAT, 0644);
         flock(nHeld, LOCK_EX); // a live save's
         WriteBytes(dir / ".p.vlk.1.velkor-tmp", "left by a kill");
         WriteBytes(dir / ".p.vlk.4000000.velkor-tmp", "left by a kill");
         std::string strResult = Message([&] { SaveProject(Distinct(), dir / "p.vlk"); });
         strResult +=
             Check(HiddenNames(dir.Path()) == std::vector<std::string>{".p.vlk.77.velkor-tmp"},
                   "abandoned names stay or the held one went");
         close(nHeld);
         // Four writers of one name at once never meet.
         CRiskModel model;
         std::vector<pid_t> writers;
         for (int i = 0; i < 4; ++i)
             if (const pid_t pid = fork(); pid == 0)
             {
                 for (int j = 0; j < 40; ++j)
                     if (!Message([&] { WriteTextReport(MakeSnapshot(model), dir / "r.txt"); })
                              .empty())
                         _exit(1);
                 _exit(0);
             }
             else
                 writers.push_back(pid);
         for (const pid_t pid : writers)
         {
             int nStatus = 0;
             waitpid(pid, &nStatus, 0);
             strResult += Check(WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 0, "a writer failed");
         }
         return strResult +
                Check(ReadBytes(dir / "r.txt") == MakeTextReport(MakeSnapshot(model)), "report");
     }},
    {"import reads no more than a sane size of /dev/zero",
     [](const CScratchDir& dir)
     {
         const RunResult result = RunReport(dir, {"import", "/dev/zero", dir / "z.vlk"});
         return Check(result.nExit == 1, "exit") +
                Check(result.strErr == "velkor-report: /dev/zero: larger than 1 MiB (an export is "
                                       "about 16 KB); not imported\n",
                      result.strErr) +
                Check(!std::filesystem::exists(dir / "z.vlk"), "written");
     }},
    {"portfolio: each file once, a pipe named, deep folders, escaped names",
     [](const CScratchDir& dir)
     {
         std::string strDeep = dir / "t";
         mkdir(strDeep.c_str(), 0755);
         SaveProject(Distinct(), dir / "t/a.vlk");
         SaveProject(Distinct(), dir / "t/new\nline.vlk");
         mkfifo((dir / "t/f.vlk").c_str(), 0644);
         for (int i = 0; i < 70; ++i)
             mkdir((strDeep += "/d").c_str(), 0755);
         SaveProject(Distinct(), strDeep + "/deep.vlk");
         const std::string strCommand =
             "ulimit -n 64; exec '" VELKOR_REPORT_EXE "' portfolio -o '" + dir / "out.txt" + "' '" +
             dir / "t" + "' '" + dir / "./t/a.vlk' '" + dir / "/t//a.vlk' 2>'" + dir / "err" + "'";
         const int nStatus = std::system(strCommand.c_str());
         const std::string strOut = ReadBytes(dir / "out.txt");
         std::string strResult = Check(WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 1, "exit");
         strResult += Check(ReadBytes(dir / "err") == "velkor-report: " + dir / "t/f.vlk" +
                                                          " is a pipe, not a project file.\n",
                            "errors: " + ReadBytes(dir / "err"));
         strResult += Check(std::count(strOut.begin(), strOut.end(), '\n') == 4, "rows: " + strOut);
         strResult += Check(strOut.find("a.vlk") == strOut.rfind("a.vlk"), "a.vlk twice");
         strResult += Check(strOut.find("/deep.vlk") != std::string::npos, "deep project");
         return strResult + Check(strOut.find("new\\nline.vlk") != std::string::npos, "escaping");
     }},
    {"velkor-report says what went wrong",
     [](const CScratchDir& dir)
     {
         const int nHelp = std::system("'" VELKOR_REPORT_EXE "' --help >/dev/full 2>/dev/null");
         std::string strResult = Check(WIFEXITED(nHelp) && WEXITSTATUS(nHelp) == 1, "--help");
         mkfifo((dir / "p.vlk").c_str(), 0644);
         const RunResult pipe = RunReport(dir, {dir / "p.vlk", "-"});
         strResult +=
             Check(pipe.nExit == 1 && pipe.strErr == "velkor-report: " + dir / "p.vlk" +
                                                         " is a pipe, not a project file.\n",
                   pipe.strErr);
         // The window's messages stay as they are; the command line adds the
         // system's reason where the kind is unknown.
         CRiskModel model;
         strResult += Check(Message([&] { LoadProject(model, dir / "p.vlk"); }) ==
                                "Access to " + dir / "p.vlk" + " was denied.",
                            "window's message");
         return strResult +
                Check(DescribeFileError(CFileException(CFileException::generic, "x", ENOLCK)) ==
                          "An unknown error occurred while accessing x. (No locks "
                          "available)",
                      "unknown kind");
     }},
};
} // namespace

class HostileFiles : public ::testing::TestWithParam<std::size_t>
{
};

TEST_P(HostileFiles, NothingWaitsNothingIsLostNothingIsLeft)
{
    RunCase(s_aCases[GetParam()]);
}

// Each case is a test of its own, named after it ("APipeIsRefusedAtOnce...").
INSTANTIATE_TEST_SUITE_P(Case, HostileFiles, ::testing::Range<std::size_t>(0, std::size(s_aCases)),
                         [](const ::testing::TestParamInfo<std::size_t>& info)
                         { return CaseName(s_aCases[info.param].pszName); });
