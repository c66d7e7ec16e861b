#pragma once

#include "seams/desktop_services.h"

#include <deque>
#include <map>
#include <mutex>
#include <vector>

namespace shareseek::testing {

// Desktop services that record what the program asked for, answer as told and can be told
// to fail. Files live in memory.
class FakeDesktop : public DesktopServices {
public:
    struct Message {
        Text text;
        MessageButtons buttons;
    };

    MessageAnswer showMessage(const Text& message, MessageButtons buttons) override;
    bool setClipboardText(const Text& text) override;
    void openAddress(const Text& address) override;
    void showInFileManager(const FilePath& path) override;
    void startProcess(const Text& commandLine) override;
    std::optional<Bytes> readFile(const FilePath& path) override;
    bool writeFile(const FilePath& path, const Bytes& bytes) override;
    void seedRandom(std::uint32_t seed) override;
    int randomBetween(int low, int high) override;
    std::uint32_t tickCount() override;

    // Arranging.
    void answerNext(MessageAnswer answer);
    void drawNext(int value); // the next random number (held within the range asked for)
    bool clipboardBusy = false;
    bool filesReadOnly = false;
    std::map<FilePath, Bytes> files;

    // Looking.
    std::vector<Message> messages() const;
    std::vector<Text> openedAddresses, processes;
    std::vector<FilePath> fileManagerPaths;
    std::optional<Text> clipboard;
    std::vector<std::uint32_t> seeds;
    std::vector<std::pair<int, int>> ranges;

private:
    mutable std::mutex mutex_;
    std::vector<Message> messages_;
    std::deque<MessageAnswer> answers_;
    std::deque<int> draws_;
    std::uint32_t ticks_ = 1000;
};

} // namespace shareseek::testing
