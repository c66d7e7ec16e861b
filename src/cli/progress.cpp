#include "cli/progress.h"

#include "cli/terminal_text.h"
#include "search/outcome_text.h"
#include "text/codepage.h"

#include <cstdio>
#include <string>

namespace shareseek::cli {
namespace {

void writeError(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

std::string seconds(std::chrono::milliseconds elapsed) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%lld.%lld s",
                  static_cast<long long>(elapsed.count() / 1000),
                  static_cast<long long>(elapsed.count() % 1000 / 100));
    return buffer;
}

// A column of `width` terminal cells; a Chinese character takes two.
std::string padded(const std::string& utf8, std::size_t width) {
    std::size_t cells = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if ((byte & 0xC0) != 0x80)
            cells += byte >= 0xE0 ? 2 : 1;
    }
    return utf8 + std::string(cells < width ? width - cells : 1, ' ');
}

} // namespace

void ProgressLine::show(const Progress& progress) {
    if (!enabled_)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastShown_ < std::chrono::milliseconds(100))
        return; // the terminal need not be repainted more often than it can be read
    lastShown_ = now;
    writeError("\rsites " + std::to_string(progress.sitesDone) + " done, " +
               std::to_string(progress.sitesRunning) + " running | rows " +
               std::to_string(progress.rows) + " | pages " + std::to_string(progress.pages) +
               " | " + seconds(progress.elapsed) + "\033[K");
}

void ProgressLine::finish(const std::vector<SiteOutcome>& outcomes) {
    if (!enabled_)
        return;
    std::string table = "\r\033[K";
    for (const SiteOutcome& outcome : outcomes)
        table += padded(visibleUtf8(textToUtf8(outcome.caption)), 16) +
                 padded(std::to_string(outcome.pages) + " pages", 10) +
                 padded(std::to_string(outcome.rows) + " rows", 12) +
                 padded(seconds(outcome.elapsed), 9) + visibleUtf8(textToUtf8(endText(outcome))) +
                 "\n";
    table += textToUtf8(outcomeSummary(outcomes)) + "\n";
    writeError(table);
}

} // namespace shareseek::cli
