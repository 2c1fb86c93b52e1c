#pragma once

#include <QTreeView>

namespace dolvane {

// The to-do list ("ListView1"): a read-only report of one line per row with a check box at the
// start of each row, whole-row multi-selection and columns whose widths stay inside their limits.
// The task column ("すべきこと") is not resized by hand; it takes whatever width the other columns
// leave, but never less than 100 pixels (a horizontal scroll bar appears instead).
class ToDoListView final : public QTreeView {
    Q_OBJECT

public:
    // Presses at or left of this client x land on the row's check box.
    static constexpr int kCheckBoxAreaWidth = 16;

    explicit ToDoListView(QWidget* parent = nullptr);

    // Also sets the columns to their starting widths.
    void setModel(QAbstractItemModel* model) override;

    // The column under client x, counting the current widths from the list's left edge (the
    // horizontal scroll position is not added). -1 inside the check-box area (x <= 16), exactly on
    // the right edge of a column, and right of the last column.
    int ColumnAt(int x) const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void createLook();
    void ApplyStartingWidths();
    void KeepWithinLimits(int column, int width);
    void FitTaskColumn();

    bool adjustingWidths_ = false;  // set while this class resizes sections itself
};

}  // namespace dolvane
