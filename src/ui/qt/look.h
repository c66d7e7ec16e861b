#pragma once

class QApplication;

namespace shareseek {

// The program's style and default font: a Chinese sans font at 9 points, 12 pixels high.
void applyProgramLook(QApplication& app);

} // namespace shareseek
