#include "support/fake_desktop.h"

#include <algorithm>

namespace shareseek::testing {

MessageAnswer FakeDesktop::showMessage(const Text& message, MessageButtons buttons) {
    std::lock_guard lock(mutex_);
    messages_.push_back({message, buttons});
    if (answers_.empty())
        return buttons == MessageButtons::ok ? MessageAnswer::ok : MessageAnswer::no;
    const MessageAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

bool FakeDesktop::setClipboardText(const Text& text) {
    if (clipboardBusy)
        return false;
    clipboard = text;
    return true;
}

void FakeDesktop::openAddress(const Text& address) {
    openedAddresses.push_back(address);
}
void FakeDesktop::showInFileManager(const FilePath& path) {
    fileManagerPaths.push_back(path);
}
void FakeDesktop::startProcess(const Text& commandLine) {
    processes.push_back(commandLine);
}

std::optional<Bytes> FakeDesktop::readFile(const FilePath& path) {
    const auto found = files.find(path);
    if (found == files.end())
        return std::nullopt;
    return found->second;
}

bool FakeDesktop::writeFile(const FilePath& path, const Bytes& bytes) {
    if (filesReadOnly)
        return false;
    files[path] = bytes;
    return true;
}

void FakeDesktop::seedRandom(std::uint32_t seed) {
    seeds.push_back(seed);
}

int FakeDesktop::randomBetween(int low, int high) {
    ranges.emplace_back(low, high);
    int value = low;
    if (!draws_.empty()) {
        value = std::clamp(draws_.front(), low, high);
        draws_.pop_front();
    }
    return value;
}

std::uint32_t FakeDesktop::tickCount() {
    return ticks_ += 16;
}

void FakeDesktop::answerNext(MessageAnswer answer) {
    std::lock_guard lock(mutex_);
    answers_.push_back(answer);
}

void FakeDesktop::drawNext(int value) {
    draws_.push_back(value);
}

std::vector<FakeDesktop::Message> FakeDesktop::messages() const {
    std::lock_guard lock(mutex_);
    return messages_;
}

} // namespace shareseek::testing
