#include "ui/run_directory.h"

#include "text/codepage.h"

namespace shareseek {

FilePath programDirectory() {
    std::error_code error;
    const FilePath executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::current_path(error) : executable.parent_path();
}

FilePath fileNameOf(const Text& name) {
    return FilePath(textToUtf8(name));
}

FilePath fileInRunDirectory(const FilePath& runDirectory, const Text& name) {
    return runDirectory / fileNameOf(name);
}

Text pathForMessage(const FilePath& path) {
    return utf8ToText(path.native());
}

} // namespace shareseek
