#include "ui/qt/look.h"

#include <QApplication>
#include <QFont>
#include <QStyleFactory>

namespace shareseek {

void applyProgramLook(QApplication& app) {
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(12);
    app.setFont(font);
}

} // namespace shareseek
