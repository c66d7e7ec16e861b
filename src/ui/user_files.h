#pragma once

#include "seams/desktop_services.h"

#include <functional>
#include <optional>
#include <string>

// Where the user's own files live: the saved host list and the exports. A portable program
// (its folder writable) keeps them in its folder; an installed one (its folder read-only)
// keeps the host list in the user's data folder and the exports in the documents folder.
namespace shareseek {

struct UserFiles {
    // Portable: both in the run directory.
    UserFiles(const FilePath& runDirectory)
        : hostList(runDirectory / "_url_.txt"), exportFolder(runDirectory) {}
    UserFiles(FilePath list, FilePath exports, std::optional<FilePath> beside)
        : hostList(std::move(list)), exportFolder(std::move(exports)),
          hostListBeside(std::move(beside)) {}

    FilePath hostList;     // "_url_.txt"
    FilePath exportFolder; // where "<keyword>_导出.txt" is written
    // A host list saved beside an installed program by an earlier portable use: read while
    // the user has no copy of their own yet.
    std::optional<FilePath> hostListBeside;
};

// The files of a program that runs from `programFolder`, portable when `portable`.
// `environment` reads a variable (empty when unset): HOME, XDG_DATA_HOME, XDG_CONFIG_HOME,
// XDG_DOCUMENTS_DIR.
UserFiles userFilesFor(const FilePath& programFolder, bool portable,
                       const std::function<std::string(const char*)>& environment);

// The files of this run: portable when the program's folder takes a new file.
UserFiles userFilesOfThisRun(const FilePath& programFolder);

// The user's documents folder: XDG_DOCUMENTS_DIR, else the one named in user-dirs.dirs,
// else the home folder.
FilePath documentsFolder(const std::function<std::string(const char*)>& environment);

} // namespace shareseek
