#include "ui/run_directory.h"

#include "text/text_ops.h"

namespace shareseek {

Text fileInRunDirectory(const Text& runDirectory, const Text& name) {
    // A run directory at the root would give two slashes in a row.
    return substitute(runDirectory + Text("/") + name, Text("//"), Text("/"), {.matchCase = true});
}

} // namespace shareseek
