// Files that another program or another user puts beside a save: a lock on
// the target, a second save at the same moment, a planted recovery copy, a
// temporary name planted for every process number, an old recovery copy.
// A second user is uid 65534, as RunUnprivileged makes it.
#include "HostileCases.h"
#include "RunReport.h"

#include "report/TextReport.h"

#include <fcntl.h>
#include <sys/file.h>

namespace
{
using namespace hostile;

// A sticky folder anyone may write, as /tmp is.
std::string MakeSharedFolder(const CScratchDir& dir)
{
    const std::string strShared = dir / "shared";
    mkdir(strShared.c_str(), 0755);
    chmod(strShared.c_str(), 01777);
    return strShared;
}

std::string Quote(const std::string& str)
{
    return "'" + str + "'";
}

const HostileCase s_aPlantedCases[] = {
    {"a text report goes onto a locked file, and two at once leave one whole report",
     [](const CScratchDir& dir)
     {
         SaveProject(Distinct(), dir / "p.vlk");
         WriteBytes(dir / "r.txt", "old");
         const int nFd = open((dir / "r.txt").c_str(), O_RDONLY);
         flock(nFd, LOCK_EX); // another program's exclusive lock
         const RunResult locked = RunReport(dir, {dir / "p.vlk", dir / "r.txt"});
         close(nFd);
         const std::string strReport = ReadBytes(dir / "r.txt");
         std::string strResult = Check(locked.nExit == 0, "onto a locked file: " + locked.strErr);
         const std::string strRun = Quote(VELKOR_REPORT_EXE) + " " + Quote(dir / "p.vlk") + " " +
                                    Quote(dir / "r.txt") + " || echo failed";
         const std::string strCommand = "for i in $(seq 30); do (" + strRun + ") & (" + strRun +
                                        "); wait; done >" + Quote(dir / "log") + " 2>&1";
         (void)!std::system(strCommand.c_str());
         strResult += Check(ReadBytes(dir / "log").empty(), "at once: " + ReadBytes(dir / "log"));
         strResult += Check(strReport != "old" && ReadBytes(dir / "r.txt") == strReport, "report");
         return strResult + Check(HiddenNames(dir.Path()).empty(), "temporary file left");
     }},
    {"a recovery copy planted by another user is never taken",
     [](const CScratchDir& dir)
     {
         if (geteuid() != 0)
             return std::string("skip: needs root to act as two users");
         const std::string strShared = MakeSharedFolder(dir);
         const std::string strPath = strShared + "/p.vlk";
         const std::string strPlanted = strShared + "/.p.vlk.velkor-backup";
         // The victim's file has a second name, so it is rewritten in place.
         std::string strResult = RunUnprivileged(
             [&]
             {
                 SaveProject(Distinct(), strPath);
                 WriteBytes(strShared + "/short.vlk", "short");
                 return std::string(link(strPath.c_str(), (strShared + "/q.vlk").c_str()) ? "link"
                                                                                          : "");
             });
         WriteBytes(strPlanted, "attacker");
         WriteBytes(strShared + "/.short.vlk.velkor-backup", "attacker");
         const std::string strSaved =
             RunUnprivileged([&] { return Message([&] { SaveProject(CRiskModel(), strPath); }); });
         strResult += Check(strSaved.starts_with("Access to " + strPath +
                                                 " was denied. It was not "
                                                 "changed: its recovery copy goes to " +
                                                 strPlanted),
                            "save: " + strSaved);
         strResult += Check(ReadBytes(strPath) == MakeProjectBytes(Distinct()), "file changed");
         strResult += Check(ReadBytes(strPlanted) == "attacker", "planted copy changed");
         const std::string strLoad = RunUnprivileged(
             [&]
             {
                 CRiskModel model;
                 return Message([&] { LoadProject(model, strShared + "/short.vlk"); });
             });
         return strResult + Check(strLoad.find("velkor-backup") == std::string::npos,
                                  "the damaged file's message names the planted copy: " + strLoad);
     }},
    {"temporary names planted for every process number steer no save",
     [](const CScratchDir& dir)
     {
         if (geteuid() != 0)
             return std::string("skip: needs root to act as two users");
         const std::string strShared = MakeSharedFolder(dir);
         for (int nPid = 1; nPid <= 32768; ++nPid)
             close(open((strShared + "/.p.vlk." + std::to_string(nPid) + ".velkor-tmp").c_str(),
                        O_WRONLY | O_CREAT, 0644));
         const std::string strSaved = RunUnprivileged(
             [&]
             {
                 CRiskModel model;
                 return Message([&] { SaveProject(Distinct(), strShared + "/p.vlk"); }) +
                        Message([&] { SaveProject(Distinct(), strShared + "/p.vlk"); }) +
                        Message([&]
                                { WriteTextReport(MakeSnapshot(model), strShared + "/p.vlk"); });
             });
         return Check(strSaved.empty(), "save: " + strSaved);
     }},
    {"a recovery copy is of the current content, with the file's owner, group and mode",
     [](const CScratchDir& dir)
     {
         if (!HaveProgram("strace") || geteuid() != 0)
             return std::string("skip: needs strace, and root to give the file another owner");
         SaveProject(Distinct(), dir / "p.vlk");
         const std::string strOld(40000, 'o');
         const std::string strOut = dir / "out.json";
         WriteBytes(strOut, strOld);
         (void)!chown(strOut.c_str(), 65534, 4242);
         chmod(strOut.c_str(), 0640);
         link(strOut.c_str(), (dir / "linked.json").c_str());
         // An older copy, left by a save killed after its write.
         WriteBytes(dir / ".out.json.velkor-backup", "an older content");
         const std::string strCommand =
             "strace -f -o /dev/null -e trace=ftruncate -e inject=ftruncate:signal=KILL " +
             Quote(VELKOR_REPORT_EXE) + " " + Quote(dir / "p.vlk") + " " + Quote(strOut) +
             " 2>/dev/null";
         (void)!std::system(strCommand.c_str());
         const std::string strCopy = dir / ".out.json.velkor-backup";
         return Check(ReadBytes(strCopy) == strOld, "the copy is not of the current content") +
                Check(Stat(strCopy).st_uid == 65534 && Stat(strCopy).st_gid == 4242 &&
                          (Stat(strCopy).st_mode & 07777) == 0640,
                      "owner, group or mode");
     }},
};
} // namespace

class PlantedFiles : public ::testing::TestWithParam<std::size_t>
{
};

TEST_P(PlantedFiles, NoPlantedFileSteersASave)
{
    RunCase(s_aPlantedCases[GetParam()]);
}

INSTANTIATE_TEST_SUITE_P(Case, PlantedFiles,
                         ::testing::Range<std::size_t>(0, std::size(s_aPlantedCases)),
                         [](const ::testing::TestParamInfo<std::size_t>& info)
                         { return CaseName(s_aPlantedCases[info.param].pszName); });
