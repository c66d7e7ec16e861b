#include "ui/qt/qt_desktop_services.h"

#include "ui/qt/qt_text.h"
#include "ui/whole_file.h"

#include <QClipboard>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QProcess>
#include <QUrl>

#include <chrono>

namespace shareseek {
namespace {

// Qt's name for a path of the platform's bytes.
QString fileName(const FilePath& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
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
    // Read as written, never guessed at as fromUserInput would; and a web address still.
    const QUrl url(toQString(address), QUrl::TolerantMode);
    const QString scheme = url.scheme().toLower();
    if (url.isValid() && !url.host().isEmpty() &&
        (scheme == QStringLiteral("http") || scheme == QStringLiteral("https")))
        QDesktopServices::openUrl(url);
}

void QtDesktopServices::showInFileManager(const FilePath& path) {
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

std::optional<Bytes> QtDesktopServices::readFile(const FilePath& path) {
    return readWholeFile(path);
}

bool QtDesktopServices::writeFile(const FilePath& path, const Bytes& bytes) {
    return writeWholeFile(path, bytes);
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
