#pragma once

#include "seams/desktop_services.h"
#include "text/text.h"

// Files the program keeps in its run directory. The directory is a path of the platform's
// own bytes; a name the program makes from its texts (code page 936) is converted to the
// platform's file-name bytes on its own.
namespace shareseek {

// The folder of the running program's executable, as the kernel names it.
FilePath programDirectory();

// `name` as the bytes of a file name (UTF-8 on Linux).
FilePath fileNameOf(const Text& name);

// The file `name` in the run directory.
FilePath fileInRunDirectory(const FilePath& runDirectory, const Text& name);

// A path as a text for a message to the user; characters code page 936 lacks read as "?".
Text pathForMessage(const FilePath& path);

} // namespace shareseek
