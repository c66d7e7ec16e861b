#pragma once

#include <Qt>

class QApplication;
class QString;
class QWidget;

namespace shareseek {

// The program's style and default font: a Chinese sans font at 9 points, 12 pixels high.
void applyProgramLook(QApplication& app);

// Both windows: caption and icon; a fixed size with close and minimise, no maximise.
void dressFixedWindow(QWidget& window, Qt::WindowType kind, const QString& caption);

// Opens `window` centred on the primary screen.
void centreOnScreen(QWidget& window);

} // namespace shareseek
