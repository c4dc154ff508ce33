// Searching folders for files by extension (velkor-report portfolio).
#pragma once

#include <functional>
#include <string>

// Called with a path and the file layer's message for what cannot be read.
using FolderWalkError =
    std::function<void(const std::string& strPath, const std::string& strMessage)>;

// 1 when strPath is a folder (through links), 0 for anything else that
// exists, -1 when it cannot be reached (given to onError).
int IsFolderPath(const std::string& strPath, const FolderWalkError& onError);

// Walks strFolder and every folder below it, calling onFile for each entry
// whose extension is pszExtension in any case ("vlk": plan.VLK too): a file,
// a link to one (as its target), and a pipe or device so named, which its
// reader refuses. Links to folders (junctions on Windows) are not followed,
// so a cycle cannot trap the walk. Each folder is read and closed before
// the folders in it are walked, so the depth costs no open handles. A
// folder that cannot be read, and a link so named that leads nowhere, go
// to onError. The order is the folders'; sort to compare.
void WalkFolder(const std::string& strFolder, const char* pszExtension,
                const std::function<void(const std::string& strPath)>& onFile,
                const FolderWalkError& onError);
