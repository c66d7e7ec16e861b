#include "support/fake_controls.h"

namespace shareseek::testing {

FakeControls::State& FakeControls::at(ControlName name) {
    auto found = controls_.find(name);
    if (found == controls_.end()) {
        found = controls_.emplace(std::u8string(name), State{}).first;
        // The window's initial state: only the full result list is shown.
        if (name == control::超级列表框2)
            found->second.visible = false;
    }
    return found->second;
}

Text FakeControls::text(ControlName name) {
    std::lock_guard lock(mutex_);
    return at(name).text;
}

void FakeControls::setText(ControlName name, const Text& text) {
    std::lock_guard lock(mutex_);
    at(name).text = text;
    at(name).written.push_back(text);
}

bool FakeControls::ticked(ControlName name) {
    std::lock_guard lock(mutex_);
    return at(name).ticked;
}

void FakeControls::setTicked(ControlName name, bool ticked) {
    std::lock_guard lock(mutex_);
    at(name).ticked = ticked;
}

void FakeControls::setEnabled(ControlName name, bool enabled) {
    std::lock_guard lock(mutex_);
    at(name).enabled = enabled;
}

void FakeControls::setVisible(ControlName name, bool visible) {
    std::lock_guard lock(mutex_);
    at(name).visible = visible;
}

void FakeControls::deleteAllRows(ControlName list) {
    std::lock_guard lock(mutex_);
    at(list).rows.clear();
    at(list).selection = -1;
}

int FakeControls::rowCount(ControlName list) {
    std::lock_guard lock(mutex_);
    return static_cast<int>(at(list).rows.size());
}

int FakeControls::appendRow(ControlName list) {
    std::lock_guard lock(mutex_);
    at(list).rows.emplace_back(3);
    return static_cast<int>(at(list).rows.size()) - 1;
}

void FakeControls::setCell(ControlName list, int row, int column, const Text& text) {
    std::lock_guard lock(mutex_);
    auto& rows = at(list).rows;
    if (row >= 0 && row < static_cast<int>(rows.size()) && column >= 0 && column < 3)
        rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = text;
}

Text FakeControls::cell(ControlName list, int row, int column) {
    std::lock_guard lock(mutex_);
    const auto& rows = at(list).rows;
    if (row < 0 || row >= static_cast<int>(rows.size()) || column < 0 || column >= 3)
        return Text();
    return rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

int FakeControls::currentSelection(ControlName list) {
    std::lock_guard lock(mutex_);
    return at(list).selection;
}

void FakeControls::repaintNow(ControlName) {
    std::lock_guard lock(mutex_);
    ++repaints_;
}

void FakeControls::showPopupMenu() {
    std::lock_guard lock(mutex_);
    ++popupMenus_;
}

bool FakeControls::enabled(ControlName name) {
    std::lock_guard lock(mutex_);
    return at(name).enabled;
}

bool FakeControls::visible(ControlName name) {
    std::lock_guard lock(mutex_);
    return at(name).visible;
}

std::vector<FakeControls::Row> FakeControls::rows(ControlName list) {
    std::lock_guard lock(mutex_);
    return at(list).rows;
}

void FakeControls::select(ControlName list, int row) {
    std::lock_guard lock(mutex_);
    at(list).selection = row;
}

int FakeControls::repaints() {
    std::lock_guard lock(mutex_);
    return repaints_;
}

int FakeControls::popupMenus() {
    std::lock_guard lock(mutex_);
    return popupMenus_;
}

std::vector<Text> FakeControls::captionsWritten(ControlName name) {
    std::lock_guard lock(mutex_);
    return at(name).written;
}

} // namespace shareseek::testing
