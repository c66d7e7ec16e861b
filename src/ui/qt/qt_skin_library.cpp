#include "ui/qt/qt_skin_library.h"

#include <QApplication>
#include <QPalette>

namespace shareseek {
namespace {

QColor colour(Rgb c) {
    return QColor(c.red, c.green, c.blue);
}

QPalette paletteOf(const SkinColours& skin) {
    QPalette palette;
    palette.setColor(QPalette::Window, colour(skin.window));
    palette.setColor(QPalette::WindowText, colour(skin.windowText));
    palette.setColor(QPalette::Base, colour(skin.base));
    palette.setColor(QPalette::AlternateBase, colour(skin.alternateBase));
    palette.setColor(QPalette::Text, colour(skin.text));
    palette.setColor(QPalette::Button, colour(skin.button));
    palette.setColor(QPalette::ButtonText, colour(skin.buttonText));
    palette.setColor(QPalette::Highlight, colour(skin.highlight));
    palette.setColor(QPalette::HighlightedText, colour(skin.highlightedText));
    palette.setColor(QPalette::ToolTipBase, colour(skin.base));
    palette.setColor(QPalette::ToolTipText, colour(skin.text));
    return palette;
}

} // namespace

void QtSkinLibrary::attachRes(const unsigned char* skin, int length, const Text&, int, int, int) {
    if (!skin || length <= 0)
        return; // no skin: the style's own colours
    const auto colours =
        parseSkin(Bytes(reinterpret_cast<const char*>(skin), static_cast<std::size_t>(length)));
    if (colours)
        QApplication::setPalette(paletteOf(*colours));
}

void QtSkinLibrary::setAero(int) {}

} // namespace shareseek
