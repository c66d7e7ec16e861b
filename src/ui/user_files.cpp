#include "ui/user_files.h"

#include "ui/whole_file.h"

#include <cstdlib>

namespace shareseek {
namespace {

FilePath homeFolder(const std::function<std::string(const char*)>& environment) {
    const std::string home = environment("HOME");
    return home.empty() ? FilePath("/") : FilePath(home);
}

// An XDG base folder: the variable when it names an absolute path, else home/`fallback`.
FilePath baseFolder(const std::function<std::string(const char*)>& environment,
                    const char* variable, const char* fallback) {
    const std::string value = environment(variable);
    if (!value.empty() && value.front() == '/')
        return FilePath(value);
    return homeFolder(environment) / fallback;
}

// XDG_DOCUMENTS_DIR="$HOME/Documents" as user-dirs.dirs writes it; nothing when it is not there.
std::optional<FilePath>
documentsFromUserDirs(const std::function<std::string(const char*)>& environment) {
    const auto file =
        readWholeFile(baseFolder(environment, "XDG_CONFIG_HOME", ".config") / "user-dirs.dirs");
    if (!file)
        return std::nullopt;
    const std::string key = "XDG_DOCUMENTS_DIR=\"";
    const std::size_t at = file->find(key);
    if (at == std::string::npos || (at > 0 && (*file)[at - 1] != '\n'))
        return std::nullopt;
    const std::size_t begin = at + key.size();
    const std::size_t end = file->find('"', begin);
    if (end == std::string::npos)
        return std::nullopt;
    std::string value = file->substr(begin, end - begin);
    if (value.starts_with("$HOME"))
        value = homeFolder(environment).native() + value.substr(5);
    if (value.empty() || value.front() != '/')
        return std::nullopt;
    return FilePath(value);
}

} // namespace

FilePath documentsFolder(const std::function<std::string(const char*)>& environment) {
    const std::string set = environment("XDG_DOCUMENTS_DIR");
    if (!set.empty() && set.front() == '/')
        return FilePath(set);
    return documentsFromUserDirs(environment).value_or(homeFolder(environment));
}

UserFiles userFilesFor(const FilePath& programFolder, bool portable,
                       const std::function<std::string(const char*)>& environment) {
    if (portable)
        return UserFiles(programFolder);
    return UserFiles(baseFolder(environment, "XDG_DATA_HOME", ".local/share") / "shareseek" /
                         "_url_.txt",
                     documentsFolder(environment) / "shareseek", programFolder / "_url_.txt");
}

UserFiles userFilesOfThisRun(const FilePath& programFolder) {
    const auto environment = [](const char* name) {
        const char* value = std::getenv(name);
        return std::string(value ? value : "");
    };
    return userFilesFor(programFolder, canWriteWholeFile(programFolder / "_url_.txt"), environment);
}

} // namespace shareseek
