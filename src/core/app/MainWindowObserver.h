#pragma once

namespace dolvane {

// What the window repaints when a part of the window model changes. Parts of the model may listen
// too (the calendar rebuilds its day lists when the rows change), so every handler has a default.
class MainWindowObserver {
public:
    virtual ~MainWindowObserver() = default;
    // The rows were replaced, removed or reordered: rebuild the list.
    virtual void RowsReset() {}
    // The same rows have new texts, check states, colours or selection: repaint them.
    virtual void RowsChanged() {}
    // Only which rows are selected changed, not what they hold. A listener that does not tell
    // the two apart repaints the rows.
    virtual void SelectionChanged() { RowsChanged(); }
    // Unsaved changes or undo availability changed: enable or disable "適用" and "元に戻す".
    virtual void StoreStateChanged() {}
    // The editing panel's fields, include boxes or Replace button changed.
    virtual void PanelChanged() {}
    // The main tab, the category tabs or the caption bar changed.
    virtual void ViewChanged() {}
    // The calendar's grid, day list, caption or status text changed: repaint them.
    virtual void CalendarChanged() {}
    // The settings were read or edited: everything that shows one follows (tab rows and with them
    // the caption bar, the keeping period's spinner, the calendar's colours).
    virtual void SettingsChanged() {}
};

}  // namespace dolvane
