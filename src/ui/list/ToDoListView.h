#pragma once

#include <QTreeView>

#include <vector>

namespace dolvane {

// The to-do list ("ListView1"): a read-only report of one line per row with a check box at the
// start of each row, whole-row multi-selection and columns whose widths stay inside their limits.
// The task column ("すべきこと") is not resized by hand; it takes whatever width the other columns
// leave, but never less than 100 pixels (a horizontal scroll bar appears instead). Grid lines
// separate the rows and the columns, down to the bottom of the list.
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

    // The rows' area on the screen (below the header, above a horizontal scroll bar): the pointer
    // is above or below the list, for the auto-scroll of a drag, when it is above or below this.
    QRect RowsAreaOnScreen() const;
    // One step of the auto-scroll of a drag above (direction -1) or below (+1) the list: scrolls by
    // one row and gives the row then at that edge, -1 when there is none (or direction is 0).
    int ScrollForDrag(int direction);

    // Stops a drag selection: releases the mouse (the auto-scroll timer ends it when the button
    // went up outside any window).
    void EndDrag();

    // Every column's width, in pixels and column order.
    std::vector<int> ColumnWidths() const;
    // Widths the user left in an earlier run, each kept within its column's limits; the task
    // column still takes what the others leave. Anything but one width per column is ignored.
    void RestoreColumnWidths(const std::vector<int>& widths);

Q_SIGNALS:
    // A mouse press over `row`, with the column under the pointer (ColumnAt).
    void rowPressed(int row, int column);
    // A left press on the check box of `row`; the list does not toggle it by itself.
    void checkBoxPressed(int row);
    // A left press on a row's text began a drag selection; moves report the row under the pointer.
    void dragStarted();
    void dragMoved(int row);
    void dragEnded();
    // A mouse button went up over the list: the panel shows the (new) first selected row.
    void released();
    // Up or Down was released: the selection may have moved to another row.
    void selectionKeyReleased();
    // F2 or Return, the keyboard's double click: edit the cell in `column` (that of the current
    // cell, which Left and Right move along the row).
    void cellEditRequested(int column);
    // The user resized a column (ColumnWidths has the new widths).
    void columnWidthsEdited();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void createLook();
    void ApplyStartingWidths();
    void KeepWithinLimits(int column, int width);
    void FitTaskColumn();
    void PaintGridLines();

    bool adjustingWidths_ = false;  // set while this class resizes sections itself
    bool dragging_ = false;
    // QTreeView judges a release against the last press it saw (a click on the same item, a
    // selection it put off at the press); only a release that ends a press it saw may reach it.
    bool releaseToTree_ = false;
    int pressedRow_ = -1;
    bool leftPressedRow_ = false;  // the drag went beyond the row it started on
};

}  // namespace dolvane
