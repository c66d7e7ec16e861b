#include "ui/qt/look.h"

#include "ui/qt/artwork.h"

#include <QApplication>
#include <QFont>
#include <QScreen>
#include <QStyleFactory>
#include <QWidget>

namespace shareseek {

void applyProgramLook(QApplication& app) {
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(12);
    app.setFont(font);
}

void dressFixedWindow(QWidget& window, Qt::WindowType kind, const QString& caption) {
    window.setWindowTitle(caption);
    window.setWindowIcon(artwork::windowIcon());
    window.setWindowFlags(kind | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint);
}

void centreOnScreen(QWidget& window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window.move(screen->geometry().center() - window.rect().center());
}

} // namespace shareseek
