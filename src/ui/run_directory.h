#pragma once

#include "text/text.h"

namespace shareseek {

// The file `name` in the run directory (no trailing "/"; "/" itself for the root).
Text fileInRunDirectory(const Text& runDirectory, const Text& name);

} // namespace shareseek
