#pragma once

#include "text/text.h"

#include <cstdint>
#include <filesystem>
#include <optional>

// What the program asks of the desktop beyond its own window: message boxes, the clipboard,
// the browser and file manager, processes, whole files, random numbers and the tick count.
// Texts are code page 936. File paths are the platform's own bytes (UTF-8 on Linux), never
// converted: only the names the program makes from its texts are, each on its own.
namespace shareseek {

using FilePath = std::filesystem::path;

enum class MessageButtons { ok, yesNo };
enum class MessageAnswer { ok, yes, no };

class DesktopServices {
public:
    virtual ~DesktopServices() = default;

    // A modal message box with the caption "信息：" and no owner window.
    virtual MessageAnswer showMessage(const Text& message,
                                      MessageButtons buttons = MessageButtons::ok) = 0;
    // False when the clipboard could not be opened.
    virtual bool setClipboardText(const Text& text) = 0;
    virtual void openAddress(const Text& address) = 0;
    virtual void showInFileManager(const FilePath& path) = 0;
    virtual void startProcess(const Text& commandLine) = 0;
    // Nothing when the file is missing or cannot be read.
    virtual std::optional<Bytes> readFile(const FilePath& path) = 0;
    // Replaces the file (or a symbolic link's target) with exactly these bytes; false when it
    // could not be written.
    virtual bool writeFile(const FilePath& path, const Bytes& bytes) = 0;

    virtual void seedRandom(std::uint32_t seed) = 0;
    // A whole number from `low` to `high`, both included.
    virtual int randomBetween(int low, int high) = 0;
    // Milliseconds since some fixed moment.
    virtual std::uint32_t tickCount() = 0;
};

} // namespace shareseek
