// Files that could hang, strip or misroute a save: pipes, hard links, ACLs
// and extended attributes, another owner's file, an unwritable folder, a
// path near PATH_MAX, locks and a full pipe. Nothing may wait, lose an
// attribute or leave a stray file.
#include "FileTestSupport.h"

#include "files/File.h"
#include "report/HtmlReport.h"
#include "report/TextReport.h"

#include <csignal>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/xattr.h>

namespace
{
// "" when the check holds, else what went wrong.
std::string Check(bool bHolds, const std::string& strWhat)
{
    return bHolds ? "" : strWhat + "; ";
}

std::string Message(const std::function<void()>& f)
{
    try
    {
        f();
        return "";
    }
    catch (const CFileException& e)
    {
        return e.GetErrorMessage();
    }
}

std::string Attribute(const std::string& strPath, const char* pszName)
{
    std::string strValue(256, '\0');
    const ssize_t n = getxattr(strPath.c_str(), pszName, strValue.data(), strValue.size());
    return n < 0 ? "(none)" : strValue.substr(0, static_cast<std::size_t>(n));
}

struct stat Stat(const std::string& strPath)
{
    struct stat st = {};
    stat(strPath.c_str(), &st);
    return st;
}

// A project unlike a new one.
const CRiskModel& Distinct()
{
    static CRiskModel s_model;
    static const bool s_bMade = (MakeDistinctive(s_model), true);
    (void)s_bMade;
    return s_model;
}

// Saves the distinct project over a new project's bytes in strPath after
// prepare ("skip: ..." or a failure stops there), and checks that the new
// bytes arrived and no hidden temporary file was left.
std::string SaveOver(const std::string& strPath, const std::function<std::string()>& prepare)
{
    WriteBytes(strPath, MakeProjectBytes(CRiskModel()));
    if (std::string strSkip = prepare(); !strSkip.empty())
        return strSkip;
    std::string strResult =
        Check(Message([&] { SaveProject(Distinct(), strPath); }).empty(), "save failed");
    strResult += Check(ReadBytes(strPath) == MakeProjectBytes(Distinct()), "content not replaced");
    for (const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::path(strPath).parent_path()))
        if (entry.path().filename().string().starts_with("."))
            return strResult + "temporary file left; ";
    return strResult;
}

struct HostileCase
{
    const char* pszName;
    std::function<std::string(const CScratchDir&)> run; // "skip: ..." when not possible here
};

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
         strResult += Check(Message([&] { WriteTextReport(MakeSnapshot(model), strPath); }) == strDenied, "txt");
         strResult +=
             Check(Message([&] { WriteHtmlReport(MakeSnapshot(model, "t"), strPath); }) == strDenied, "htm");
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
         const std::string strMessage =
             Message([&] { WriteTextReport(MakeSnapshot(model), "/proc/self/fd/" + std::to_string(anPipe[1])); });
         close(anPipe[1]);
         reader.join();
         close(anPipe[0]);
         return Check(strMessage.empty(), "write: " + strMessage) +
                Check(strRead == std::string(nFill, 'f') + MakeTextReport(MakeSnapshot(model)), "bytes");
     }},
};
} // namespace

TEST(HostileFiles, NothingWaitsNothingIsLostNothingIsLeft)
{
    alarm(60); // a case that hangs ends the test run instead of blocking it
    for (const HostileCase& c : s_aCases)
    {
        CScratchDir dir;
        const std::string strResult = c.run(dir);
        if (strResult.starts_with("skip: "))
            std::cout << "[  SKIPPED ] " << c.pszName << ": " << strResult.substr(6) << "\n";
        else
            EXPECT_EQ(strResult, "") << c.pszName;
    }
    alarm(0);
}
