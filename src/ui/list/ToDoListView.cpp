#include "ui/list/ToDoListView.h"

#include "core/store/ToDoRecord.h"
#include "ui/widgets/JapaneseFont.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionViewItem>

#include <algorithm>
#include <array>

namespace dolvane {
namespace {

// Pixels; 0 as a limit means none. The task column's width is only its share before the first fit.
struct ColumnSize {
    int width;
    int min;
    int max;
};
constexpr std::array<ColumnSize, kVisibleColumnCount> kColumnSizes = {{
    {130, 50, 200},  // 開始日時
    {120, 50, 150},  // 期限（完了予定）
    {55, 55, 60},    // 重要度
    {60, 50, 100},   // 実行者
    {100, 100, 0},   // すべきこと: fills the rest
    {50, 0, 0},      // 分類
    {40, 25, 45},    // 進捗
    {50, 50, 100},   // 残り時間
    {55, 5, 0},      // 経過時間 / 経過率
    {60, 30, 0},     // 警告
    {20, 20, 150},   // 完了日時
}};
constexpr int kTaskColumn = static_cast<int>(Field::Task);
constexpr int kRemainingColumn = static_cast<int>(Field::Remaining);
constexpr int kElapsedColumn = static_cast<int>(Field::Elapsed);

// The limits grow with a larger desktop font, as the texts do.
int ClampedWidth(int column, int width)
{
    const ColumnSize& size = kColumnSizes[static_cast<std::size_t>(column)];
    width = std::max(width, ScaledToDesktop(size.min));
    return size.max > 0 ? std::min(width, ScaledToDesktop(size.max)) : width;
}

}  // namespace

ToDoListView::ToDoListView(QWidget* parent) : QTreeView(parent)
{
    setObjectName(QStringLiteral("ListView1"));
    setAccessibleName(QStringLiteral("ToDoリスト"));
    createLook();
    connect(header(), &QHeaderView::sectionResized, this,
            [this](int column, int, int width) { KeepWithinLimits(column, width); });
}

void ToDoListView::createLook()
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAlternatingRowColors(false);
    // The focus frame marks the current cell, the one F2 edits; the selection is whole rows.
    setAllColumnsShowFocus(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);

    setFont(JapaneseFont(13));

    // Commands act on the selected rows while the focus is in the editing panel, so the selection
    // must not fade when the list loses the focus.
    QPalette colours = palette();
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
    }
    setPalette(colours);

    header()->setSectionsMovable(false);
    header()->setStretchLastSection(false);
    // Each column has its own lower limit (KeepWithinLimits); the header's common one must not
    // stop a drag before that.
    header()->setMinimumSectionSize(0);
}

void ToDoListView::setModel(QAbstractItemModel* model)
{
    QTreeView::setModel(model);
    ApplyStartingWidths();
}

void ToDoListView::ApplyStartingWidths()
{
    if (header()->count() != kVisibleColumnCount) {
        return;
    }
    adjustingWidths_ = true;
    // The date columns were sized for a narrower face; where the installed Japanese font draws
    // "yyyy/mm/dd hh:nn" wider, they start wide enough for it (within their maximum) rather than
    // cutting every date short.
    const int dateWidth = fontMetrics().horizontalAdvance(QStringLiteral("0000/00/00 00:00")) + 8;
    const int checkBoxWidth = style()->pixelMetric(QStyle::PM_IndicatorWidth) + 8;
    // Likewise the time columns, for their longest usual text (up to a hundred days).
    const int durationWidth = fontMetrics().horizontalAdvance(QStringLiteral("99日23時間")) + 8;
    for (int column = 0; column < kVisibleColumnCount; ++column) {
        header()->setSectionResizeMode(column, column == kTaskColumn ? QHeaderView::Fixed : QHeaderView::Interactive);
        int width = ScaledToDesktop(kColumnSizes[static_cast<std::size_t>(column)].width);
        if (column == 0) {
            width = std::max(width, dateWidth + checkBoxWidth);
        } else if (column == 1) {
            width = std::max(width, dateWidth);
        } else if (column == kRemainingColumn || column == kElapsedColumn) {
            width = std::max(width, durationWidth);
        }
        header()->resizeSection(column, ClampedWidth(column, width));
    }
    adjustingWidths_ = false;
    FitTaskColumn();
}

void ToDoListView::KeepWithinLimits(int column, int width)
{
    if (adjustingWidths_ || column < 0 || column >= kVisibleColumnCount || header()->count() != kVisibleColumnCount) {
        return;
    }
    const int clamped = ClampedWidth(column, width);
    if (clamped != width) {
        adjustingWidths_ = true;
        header()->resizeSection(column, clamped);
        adjustingWidths_ = false;
    }
    FitTaskColumn();
    Q_EMIT columnWidthsEdited();
}

std::vector<int> ToDoListView::ColumnWidths() const
{
    std::vector<int> widths;
    widths.reserve(static_cast<std::size_t>(header()->count()));
    for (int column = 0; column < header()->count(); ++column) {
        widths.push_back(header()->sectionSize(column));
    }
    return widths;
}

void ToDoListView::RestoreColumnWidths(const std::vector<int>& widths)
{
    if (header()->count() != kVisibleColumnCount || widths.size() != static_cast<std::size_t>(kVisibleColumnCount)) {
        return;
    }
    adjustingWidths_ = true;
    for (int column = 0; column < kVisibleColumnCount; ++column) {
        if (column != kTaskColumn) {
            header()->resizeSection(column, ClampedWidth(column, widths[static_cast<std::size_t>(column)]));
        }
    }
    adjustingWidths_ = false;
    FitTaskColumn();
}

void ToDoListView::FitTaskColumn()
{
    if (header()->count() != kVisibleColumnCount) {
        return;
    }
    int others = 0;
    for (int column = 0; column < kVisibleColumnCount; ++column) {
        if (column != kTaskColumn) {
            others += header()->sectionSize(column);
        }
    }
    adjustingWidths_ = true;
    header()->resizeSection(kTaskColumn, ClampedWidth(kTaskColumn, viewport()->width() - others));
    adjustingWidths_ = false;
}

void ToDoListView::resizeEvent(QResizeEvent* event)
{
    // Also called when the viewport narrows because a vertical scroll bar appeared.
    QTreeView::resizeEvent(event);
    FitTaskColumn();
}

int ToDoListView::ColumnAt(int x) const
{
    if (x <= kCheckBoxAreaWidth) {
        return -1;
    }
    int right = 0;
    for (int visual = 0; visual < header()->count(); ++visual) {
        const int column = header()->logicalIndex(visual);
        right += header()->sectionSize(column);
        if (x == right) {
            return -1;
        }
        if (x < right) {
            return column;
        }
    }
    return -1;
}

void ToDoListView::paintEvent(QPaintEvent* event)
{
    QTreeView::paintEvent(event);
    PaintGridLines();
}

void ToDoListView::PaintGridLines()
{
    QPainter painter(viewport());
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    painter.setPen(
        QColor::fromRgba(static_cast<QRgb>(style()->styleHint(QStyle::SH_Table_GridLineColor, &option, this))));
    const int height = viewport()->height();
    const int width = viewport()->width();
    // A line on the last pixel of every column, down through the empty part of the list too.
    for (int visual = 0; visual < header()->count(); ++visual) {
        const int column = header()->logicalIndex(visual);
        if (!header()->isSectionHidden(column)) {
            const int x = header()->sectionViewportPosition(column) + header()->sectionSize(column) - 1;
            painter.drawLine(x, 0, x, height);
        }
    }
    // A line on the last pixel of every row; below the last row the lines go on at the same
    // spacing, as if empty rows followed.
    const QModelIndex first = indexAt(QPoint(0, 0));
    if (!first.isValid()) {
        return;
    }
    const QRect firstRow = visualRect(first);
    if (firstRow.height() <= 0) {
        return;
    }
    for (int y = firstRow.bottom(); y < height; y += firstRow.height()) {
        painter.drawLine(0, y, width, y);
    }
}

QRect ToDoListView::RowsAreaOnScreen() const
{
    return {viewport()->mapToGlobal(QPoint(0, 0)), viewport()->size()};
}

int ToDoListView::ScrollForDrag(int direction)
{
    if (direction == 0) {
        return -1;
    }
    // A step of one line of the list's font and a pixel: one row when the list scrolls by rows.
    const int step = verticalScrollMode() == QAbstractItemView::ScrollPerItem ? 1 : fontMetrics().height() + 1;
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->value() + direction * step);
    if (direction < 0) {
        return indexAt(QPoint(0, 6)).row();
    }
    const int height = viewport()->height();
    const int row = indexAt(QPoint(0, height - 6)).row();
    if (row >= 0) {
        return row;
    }
    // The last rows can end above the bottom strip; the row a scroll bar's height higher up.
    const int barHeight = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, horizontalScrollBar());
    return indexAt(QPoint(0, height - (barHeight + 6))).row();
}

void ToDoListView::mousePressEvent(QMouseEvent* event)
{
    releaseToTree_ = false;
    leftPressedRow_ = false;
    const QPoint position = event->position().toPoint();
    const int row = indexAt(position).row();
    if (row < 0) {
        return;  // a press beside the rows changes nothing
    }
    Q_EMIT rowPressed(row, ColumnAt(position.x()));
    if (event->button() != Qt::LeftButton) {
        releaseToTree_ = true;
        QTreeView::mousePressEvent(event);
        return;
    }
    if (position.x() < kCheckBoxAreaWidth) {
        // The model toggles the box (and those of the other selected rows); QTreeView must not see
        // this press nor its release, or its delegate toggles the box a second time.
        Q_EMIT checkBoxPressed(row);
        return;
    }
    releaseToTree_ = true;
    QTreeView::mousePressEvent(event);
    pressedRow_ = row;
    dragging_ = true;
    viewport()->grabMouse();  // the viewport, whose events reach the mouse handlers below
    Q_EMIT dragStarted();
}

void ToDoListView::mouseMoveEvent(QMouseEvent* event)
{
    // The list's own drag handling is replaced by the model's range rule.
    if (!dragging_ || !(event->buttons() & Qt::LeftButton)) {
        return;
    }
    const int row = indexAt(event->position().toPoint()).row();
    if (row != pressedRow_) {
        leftPressedRow_ = true;
    }
    if (row >= 0) {
        Q_EMIT dragMoved(row);
    }
}

void ToDoListView::mouseReleaseEvent(QMouseEvent* event)
{
    // A drag's selection is final: at a press on an already selected row QTreeView puts off its
    // selection to the release, and would then select only the row under the pointer (none below
    // the list, which clears every row). Only a press and release on the same row is a click.
    if (releaseToTree_ && !(dragging_ && leftPressedRow_)) {
        QTreeView::mouseReleaseEvent(event);
    } else {
        setState(NoState);
    }
    releaseToTree_ = false;
    EndDrag();
    Q_EMIT released();
}

void ToDoListView::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click on a check box toggles it again, like the first, and
    // opens nothing.
    if (event->button() == Qt::LeftButton && event->position().x() < kCheckBoxAreaWidth) {
        mousePressEvent(event);
        return;
    }
    QTreeView::mouseDoubleClickEvent(event);
}

void ToDoListView::EndDrag()
{
    if (!dragging_) {
        return;
    }
    dragging_ = false;
    viewport()->releaseMouse();
    Q_EMIT dragEnded();
}

void ToDoListView::keyPressEvent(QKeyEvent* event)
{
    const QModelIndex current = currentIndex();
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (!current.isValid() || !plain) {
        QTreeView::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_F2:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Q_EMIT cellEditRequested(current.column());
        return;
    case Qt::Key_Left:
    case Qt::Key_Right: {
        // Whole rows are selected, so QTreeView would only scroll sideways; the current cell moves
        // instead (and scrolls into view), the selection stays.
        const int step = event->key() == Qt::Key_Right ? 1 : -1;
        const int visual = header()->visualIndex(current.column()) + step;
        if (visual >= 0 && visual < header()->count()) {
            const QModelIndex next = current.sibling(current.row(), header()->logicalIndex(visual));
            selectionModel()->setCurrentIndex(next, QItemSelectionModel::NoUpdate);
            scrollTo(next);
        }
        return;
    }
    default:
        QTreeView::keyPressEvent(event);
    }
}

void ToDoListView::keyReleaseEvent(QKeyEvent* event)
{
    QTreeView::keyReleaseEvent(event);
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        Q_EMIT selectionKeyReleased();
    }
}

}  // namespace dolvane
