#pragma once

#include "seams/control_names.h"
#include "text/text.h"

// The operations through which the core reads and changes the main window, by control name.
// The window carries them out on its own thread; a call from another thread waits until it
// is done. List rows and columns are numbered from 0.
namespace shareseek {

class Controls {
public:
    virtual ~Controls() = default;

    // The text of an edit box or the caption of a label.
    virtual Text text(ControlName name) = 0;
    virtual void setText(ControlName name, const Text& text) = 0;
    // Writing the ticked state raises no clicked event.
    virtual bool ticked(ControlName name) = 0;
    virtual void setTicked(ControlName name, bool ticked) = 0;
    virtual void setEnabled(ControlName name, bool enabled) = 0;
    virtual void setVisible(ControlName name, bool visible) = 0;

    // List views.
    virtual void deleteAllRows(ControlName list) = 0;
    virtual int rowCount(ControlName list) = 0;
    // Appends an empty row and returns its number.
    virtual int appendRow(ControlName list) = 0;
    // A row outside the list is left alone.
    virtual void setCell(ControlName list, int row, int column, const Text& text) = 0;
    // The empty text for a row outside the list, such as -1.
    virtual Text cell(ControlName list, int row, int column) = 0;
    // The first selected row, -1 when none is.
    virtual int currentSelection(ControlName list) = 0;
    // Draws the list now rather than at the next idle moment.
    virtual void repaintNow(ControlName list) = 0;

    // The result lists' popup menu, at the pointer.
    virtual void showPopupMenu() = 0;
};

} // namespace shareseek
