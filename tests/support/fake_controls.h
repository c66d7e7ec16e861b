#pragma once

#include "seams/controls.h"

#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace shareseek::testing {

// The main window's controls in memory. Every call is carried out under one lock, so calls
// from workers are serialised the way the window serialises them on its own thread.
class FakeControls : public Controls {
public:
    using Row = std::vector<Text>;

    Text text(ControlName name) override;
    void setText(ControlName name, const Text& text) override;
    bool ticked(ControlName name) override;
    void setTicked(ControlName name, bool ticked) override;
    void setEnabled(ControlName name, bool enabled) override;
    void setVisible(ControlName name, bool visible) override;
    void deleteAllRows(ControlName list) override;
    int rowCount(ControlName list) override;
    int appendRow(ControlName list) override;
    void setCell(ControlName list, int row, int column, const Text& text) override;
    Text cell(ControlName list, int row, int column) override;
    int currentSelection(ControlName list) override;
    void repaintNow(ControlName list) override;
    void showPopupMenu() override;

    // What tests look at and arrange.
    bool enabled(ControlName name);
    bool visible(ControlName name);
    std::vector<Row> rows(ControlName list);
    void select(ControlName list, int row);
    int repaints();
    int popupMenus();
    // Every caption written to a label, in order.
    std::vector<Text> captionsWritten(ControlName name);

private:
    struct State {
        Text text;
        bool ticked = false;
        bool enabled = true;
        bool visible = true;
        std::vector<Row> rows;
        int selection = -1;
        std::vector<Text> written;
    };
    State& at(ControlName name);

    std::mutex mutex_;
    std::map<std::u8string, State, std::less<>> controls_;
    int repaints_ = 0;
    int popupMenus_ = 0;
};

} // namespace shareseek::testing
