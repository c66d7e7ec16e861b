#pragma once

#include "seams/desktop_services.h"

#include <random>

namespace shareseek {

// The desktop for real: Qt's message boxes, clipboard and URL handler, the file manager over
// D-Bus, processes, and whole files with UTF-8 names.
class QtDesktopServices : public DesktopServices {
public:
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

private:
    std::mt19937 random_;
};

} // namespace shareseek
