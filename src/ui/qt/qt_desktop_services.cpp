#include "ui/qt/qt_desktop_services.h"

#include "ui/qt/qt_text.h"

#include <QClipboard>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QProcess>
#include <QSaveFile>
#include <QUrl>

#include <chrono>

namespace shareseek {
namespace {

// File names on Linux are UTF-8.
QString fileName(const Text& path) {
    return toQString(path);
}

} // namespace

MessageAnswer QtDesktopServices::showMessage(const Text& message, MessageButtons buttons) {
    QMessageBox box(QMessageBox::NoIcon, qs(u8"信息："), toQString(message),
                    buttons == MessageButtons::yesNo ? QMessageBox::Yes | QMessageBox::No
                                                     : QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    const int answer = box.exec();
    if (buttons == MessageButtons::ok)
        return MessageAnswer::ok;
    return answer == QMessageBox::Yes ? MessageAnswer::yes : MessageAnswer::no;
}

bool QtDesktopServices::setClipboardText(const Text& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    clipboard->setText(toQString(text));
    return true;
}

void QtDesktopServices::openAddress(const Text& address) {
    QDesktopServices::openUrl(QUrl::fromUserInput(toQString(address)));
}

void QtDesktopServices::showInFileManager(const Text& path) {
    const QUrl file = QUrl::fromLocalFile(fileName(path));
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{file.toString()} << QString();
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 3000);
    if (reply.type() != QDBusMessage::ReplyMessage) // no file manager offers it: the folder
        QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(fileName(path)).absolutePath()));
}

void QtDesktopServices::startProcess(const Text& commandLine) {
    QStringList words = QProcess::splitCommand(toQString(commandLine));
    if (words.isEmpty())
        return;
    const QString program = words.takeFirst();
    QProcess::startDetached(program, words);
}

std::optional<Bytes> QtDesktopServices::readFile(const Text& path) {
    QFile file(fileName(path));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    return Bytes(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

bool QtDesktopServices::writeFile(const Text& path, const Bytes& bytes) {
    // Written aside and renamed over the old file, so a failed write leaves the old one.
    QSaveFile file(fileName(path));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
        static_cast<qint64>(bytes.size()))
        return false;
    return file.commit();
}

void QtDesktopServices::seedRandom(std::uint32_t seed) {
    random_.seed(seed);
}

int QtDesktopServices::randomBetween(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random_);
}

std::uint32_t QtDesktopServices::tickCount() {
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
}

} // namespace shareseek
