#pragma once

#include <QWidget>

#include <cstdint>

class QLabel;
class QListView;
class QSplitter;

namespace dolvane {

class CalendarController;
class DayListModel;
struct CalendarGridLayout;

// The calendar grid ("StringGrid1"): painted from the model's calendar, cell by cell; a left
// press selects a day, a click on a bar row selects that to-do, a right press turns the bar
// labels on and off, and dragging from a to-do's start or deadline day to another day moves it.
class CalendarGrid final : public QWidget {
    Q_OBJECT

public:
    CalendarGrid(CalendarController& model, QWidget* parent = nullptr);

    // The sizes of the grid's rows and columns for the widget's size and the view mode.
    CalendarGridLayout GridLayout() const;

    // Pixels the mouse must move with the left button down before a drag begins.
    static constexpr int kDragThreshold = 20;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    CalendarController& model_;
    QPoint pressPoint_;
    bool pressed_ = false;
    bool dragging_ = false;
};

// The calendar area ("Panel8") that takes the list's place: the day list column (the shown range
// "yyyy/mm" over the to-dos of the selected day) beside the grid, with a splitter between them.
class CalendarView final : public QWidget {
    Q_OBJECT

public:
    CalendarView(CalendarController& model, QWidget* parent = nullptr);

    // Shows what the model's calendar holds now: caption, day list and grid.
    void ShowCalendar();

    CalendarGrid* Grid() const { return grid_; }
    QListView* DayList() const { return dayList_; }
    QSplitter* Splitter() const { return splitter_; }

private:
    CalendarController& model_;
    QSplitter* splitter_ = nullptr;
    QLabel* caption_ = nullptr;
    QListView* dayList_ = nullptr;
    DayListModel* dayListModel_ = nullptr;
    CalendarGrid* grid_ = nullptr;
    std::uint64_t shownRevision_ = 0;
    bool showing_ = false;
};

}  // namespace dolvane
