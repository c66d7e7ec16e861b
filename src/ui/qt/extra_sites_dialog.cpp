#include "ui/qt/extra_sites_dialog.h"

#include "search/site_catalogue.h"
#include "text/text_ops.h"
#include "ui/qt/look.h"
#include "ui/qt/qt_text.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace shareseek {

QString extraSitesInstruction() {
    const QString example = QString::fromLatin1(shareHostOf(1).c_str());
    return qs(u8"只需写入网址如 百度网盘的首页地址是：") + example + qs(u8" 在编辑框里面就是 ") +
           example + QStringLiteral("\r\n") + qs(u8"支持多个网址 每个网址之间请用英文分号隔开“;”") +
           QStringLiteral("\r\n") + qs(u8"如：") + example + QStringLiteral(";") +
           QString::fromLatin1(shareHostOf(13).c_str());
}

ExtraSitesDialog::ExtraSitesDialog(QWidget* parent) : QDialog(parent) {
    dressFixedWindow(*this, Qt::Dialog, qs(u8"设置-其他网盘"));
    setFixedSize(clientSize);
    setModal(true);

    auto* instruction = new QLabel(extraSitesInstruction(), this);
    instruction->setObjectName(QStringLiteral("标签1"));
    instruction->setTextFormat(Qt::PlainText);
    instruction->setWordWrap(true);
    instruction->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    instruction->setGeometry(0, 8, 368, 48);
    // Its three lines, the first of them wrapped, must fit the 48 pixels of the box: 12-pixel
    // lines of the default font would not.
    QFont small = instruction->font();
    small.setPixelSize(10);
    instruction->setFont(small);

    hosts_ = new QPlainTextEdit(this);
    hosts_->setObjectName(QStringLiteral("编辑框1"));
    hosts_->setGeometry(6, 58, 368, 168);
    hosts_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    hosts_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    confirm_ = new QPushButton(qs(u8"确定"), this);
    confirm_->setObjectName(QStringLiteral("按钮1"));
    confirm_->setGeometry(303, 232, 72, 24);
    confirm_->setAutoDefault(false);

    centreOnScreen(*this);
}

Text ExtraSitesDialog::hostListText() {
    // A list confirmed as it was shown goes back byte for byte, lone CR or LF bytes included.
    if (hosts_->toPlainText() == shown_)
        return listShown_;
    // The box keeps lines apart with a bare line feed; the list keeps CR LF.
    QString text = hosts_->toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return fromQString(text);
}

void ExtraSitesDialog::setHostListText(const Text& text) {
    QString shown = toQString(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    hosts_->setPlainText(shown);
    listShown_ = text;
    shown_ = hosts_->toPlainText();
}

void ExtraSitesDialog::close() {
    accept();
}

void QtExtraSitesOpener::openModal(SiteSelection& handlers) {
    ExtraSitesDialog dialog(parent_);
    handlers.showList(dialog);
    QObject::connect(dialog.confirmButton(), &QPushButton::clicked, &dialog,
                     [&] { handlers.confirm(dialog); });
    dialog.exec();
}

} // namespace shareseek
