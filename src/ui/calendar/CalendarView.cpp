#include "ui/calendar/CalendarView.h"

#include "core/app/CalendarController.h"
#include "core/time/TimeTexts.h"
#include "ui/calendar/CalendarPainter.h"
#include "ui/widgets/Cp932Text.h"
#include "ui/widgets/JapaneseFont.h"

#include <QAbstractListModel>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMouseEvent>
#include <QPainter>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace dolvane {
namespace {

constexpr int kLeftColumnWidth = 145;
constexpr int kCaptionHeight = 20;
constexpr int kDayListItemHeight = 16;
constexpr int kSplitterWidth = 4;
constexpr int kMinimumColumn = 50;
constexpr int kCp932Role = Qt::UserRole;

// Day-list items are painted from their cp932 text: the task before the row number.
class DayListDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QByteArray text = index.data(kCp932Role).toByteArray();
        const QRect& r = option.rect;
        const bool last = index.row() == index.model()->rowCount() - 1;
        painter->save();
        painter->setFont(CalendarFont(kCalendarPointSize, false));
        PaintPlan(*painter, PlanDayListItem(std::string_view(text.constData(), static_cast<std::size_t>(text.size())),
                                            {r.left(), r.top(), r.right() + 1, r.bottom() + 1},
                                            (option.state & QStyle::State_Selected) != 0, last));
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), kDayListItemHeight};
    }
};

}  // namespace

// The day list's rows, read from the controller's items as they are painted: a crowded day lists
// tens of thousands of to-dos, and a copy of each as a list item would outweigh the calendar.
class DayListModel final : public QAbstractListModel {
public:
    DayListModel(const CalendarController& model, QObject* parent) : QAbstractListModel(parent), model_(model) {}

    // The controller's items changed: the list shows them from now on.
    void Reload()
    {
        beginResetModel();
        rows_ = static_cast<int>(model_.DayListItems().size());
        endResetModel();
    }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override { return parent.isValid() ? 0 : rows_; }

    QVariant data(const QModelIndex& index, int role) const override
    {
        const auto& items = model_.DayListItems();
        if (!index.isValid() || index.row() >= rows_ || static_cast<std::size_t>(index.row()) >= items.size()) {
            return {};
        }
        const std::string& item = items[static_cast<std::size_t>(index.row())];
        if (role == Qt::DisplayRole) {
            return FromCp932(std::string_view(item).substr(0, item.rfind(kDayItemSeparator)));
        }
        if (role == kCp932Role) {
            return QByteArray(item.data(), static_cast<qsizetype>(item.size()));
        }
        return {};
    }

private:
    const CalendarController& model_;
    int rows_ = 0;
};

CalendarGrid::CalendarGrid(CalendarController& model, QWidget* parent) : QWidget(parent), model_(model)
{
    setObjectName(QStringLiteral("StringGrid1"));
    setAccessibleName(QStringLiteral("カレンダー"));
    setToolTip(QStringLiteral("右クリックで文字表示の有無切換"));
    setStatusTip(toolTip());
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(false);
}

CalendarGridLayout CalendarGrid::GridLayout() const
{
    return LayoutCalendarGrid(model_.Model().ViewMode(), width(), height());
}

void CalendarGrid::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    const CalendarGridLayout layout = GridLayout();
    const Settings& settings = model_.CurrentSettings();
    DateCellContext context;
    context.todayText = FormatDateText(model_.Now());
    context.barFillColour = settings.BarFillColor;
    context.barFrameColour = settings.BarFrameColor;
    context.defaultColumnWidth = layout.defaultColumnWidth;
    context.defaultRowHeight = layout.defaultRowHeight;
    PaintCalendarGrid(painter, model_.Model(), model_.Holidays(), layout, context);
}

void CalendarGrid::mousePressEvent(QMouseEvent* event)
{
    const auto cell = CalendarCellAt(GridLayout(), event->position().toPoint().x(), event->position().toPoint().y());
    if (event->button() == Qt::RightButton) {
        model_.ToggleBarTexts();
        return;
    }
    if (event->button() != Qt::LeftButton || !cell) {
        return;
    }
    const auto [column, row] = *cell;
    if (row >= 1 && (column != model_.Model().CurrentColumn() || row != model_.Model().CurrentRow())) {
        model_.SelectCell(column, row);
    }
    model_.PressCell(column, row);
    pressPoint_ = event->position().toPoint();
    pressed_ = true;
    dragging_ = false;
}

void CalendarGrid::mouseMoveEvent(QMouseEvent* event)
{
    if (pressed_ && !dragging_ && (event->position().toPoint() - pressPoint_).manhattanLength() >= kDragThreshold) {
        dragging_ = true;
    }
    if (dragging_) {
        const auto cell =
            CalendarCellAt(GridLayout(), event->position().toPoint().x(), event->position().toPoint().y());
        const bool allowed = cell && cell->second >= 1 && model_.DropAllowed();
        setCursor(allowed ? Qt::DragMoveCursor : Qt::ForbiddenCursor);
    }
}

void CalendarGrid::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !pressed_) {
        return;
    }
    pressed_ = false;
    unsetCursor();
    const QPoint point = event->position().toPoint();
    const CalendarGridLayout layout = GridLayout();
    const auto cell = CalendarCellAt(layout, point.x(), point.y());
    if (dragging_) {
        dragging_ = false;
        if (cell && cell->second >= 1 && model_.DropAllowed()) {
            model_.Drop(cell->first, cell->second);
        }
        return;
    }
    if (!cell || cell->second < 1) {
        return;
    }
    // The bar row under the pointer, read back through the rows the drawing lays out. The press
    // made this cell current, and the model knew its rows from then on, painted or not.
    // A row left out of the cell, or given up to its "+N", selects nothing.
    const BarRows rows = BarRowsFor(model_.Model().ViewMode(), FontTextMeasure());
    const int row = rows.RowAt(point.y() - CalendarCellRect(layout, cell->first, cell->second).top);
    const int shown = rows.Shown(layout.defaultRowHeight, model_.Model().CurrentCellBars().size());
    model_.ClickBarRow(row < shown ? row : -1);
}

void CalendarGrid::keyPressEvent(QKeyEvent* event)
{
    const CalendarModel& calendar = model_.Model();
    int column = calendar.CurrentColumn();
    int row = calendar.CurrentRow();
    switch (event->key()) {
    case Qt::Key_Left:
        --column;
        break;
    case Qt::Key_Right:
        ++column;
        break;
    case Qt::Key_Up:
        --row;
        break;
    case Qt::Key_Down:
        ++row;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    if (column >= 0 && column < CalendarModel::kColumns && row >= 1 && row < GridLayout().rowCount) {
        model_.SelectCell(column, row);
    }
}

CalendarView::CalendarView(CalendarController& model, QWidget* parent) : QWidget(parent), model_(model)
{
    setObjectName(QStringLiteral("Panel8"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->setObjectName(QStringLiteral("Splitter1"));
    splitter_->setHandleWidth(kSplitterWidth);
    splitter_->setChildrenCollapsible(false);
    layout->addWidget(splitter_);

    auto* column = new QWidget(splitter_);
    column->setObjectName(QStringLiteral("Panel9"));
    column->setMinimumWidth(kMinimumColumn);
    auto* columnLayout = new QVBoxLayout(column);
    columnLayout->setContentsMargins(0, 0, 0, 0);
    columnLayout->setSpacing(0);
    caption_ = new QLabel(column);
    caption_->setObjectName(QStringLiteral("Panel10"));
    caption_->setFixedHeight(ScaledToDesktop(kCaptionHeight));
    caption_->setAlignment(Qt::AlignCenter);
    caption_->setFont(JapaneseFont(16, true));
    SetFixedColours(caption_, kDayCaptionColours);
    columnLayout->addWidget(caption_);
    dayList_ = new QListView(column);
    dayList_->setObjectName(QStringLiteral("ListBox1"));
    dayList_->setAccessibleName(QStringLiteral("選択日のToDo"));
    dayList_->setItemDelegate(new DayListDelegate(dayList_));
    dayList_->setUniformItemSizes(true);
    dayListModel_ = new DayListModel(model_, dayList_);
    dayList_->setModel(dayListModel_);
    columnLayout->addWidget(dayList_, 1);

    grid_ = new CalendarGrid(model_, splitter_);
    grid_->setMinimumWidth(kMinimumColumn);
    splitter_->addWidget(column);
    splitter_->addWidget(grid_);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({kLeftColumnWidth, 600});

    connect(dayList_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current, const QModelIndex& /*previous*/) {
                if (!showing_ && current.row() >= 0) {
                    model_.ClickDayListItem(current.row());
                }
            });
    // The day-list column stays narrower than half the window.
    connect(splitter_, &QSplitter::splitterMoved, this, [this](int position, int /*index*/) {
        const int half = window()->width() / 2;
        if (position >= half) {
            const int total = splitter_->sizes().value(0) + splitter_->sizes().value(1);
            splitter_->setSizes({half - 1, total - (half - 1)});
        }
    });
}

void CalendarView::ShowCalendar()
{
    showing_ = true;
    caption_->setText(FromCp932(model_.Model().CaptionText()));
    // The list is refilled only when its items changed: a click in it comes back here from the
    // list's own selection signal, and must not pull the items from under it.
    if (model_.DayListRevision() != shownRevision_) {
        shownRevision_ = model_.DayListRevision();
        dayListModel_->Reload();
    }
    dayList_->selectionModel()->setCurrentIndex(dayListModel_->index(model_.DayListSelection()),
                                                QItemSelectionModel::ClearAndSelect);
    showing_ = false;
    grid_->update();
}

}  // namespace dolvane
