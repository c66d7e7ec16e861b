#pragma once

#include "seams/controls.h"

namespace shareseek {

// Writes "资源数：" and the number of rows of the full result list into the count label.
void showRowCount(Controls& controls);

} // namespace shareseek
