#include "ui/MainWindow.h"

#include "ui/calendar/CalendarView.h"
#include "ui/dialogs/MessagePrompts.h"
#include "ui/edit/EditPanelWidget.h"
#include "ui/list/HeaderStyle.h"
#include "ui/list/ToDoListModel.h"
#include "ui/list/ToDoListView.h"
#include "ui/widgets/Colours.h"
#include "ui/widgets/Cp932Text.h"
#include "ui/widgets/JapaneseFont.h"
#include "ui/widgets/TabRow.h"

#include "core/view/DragSelection.h"
#include "core/view/ViewFilter.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QHeaderView>
#include <QInputDialog>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabBar>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

namespace dolvane {
namespace {

constexpr int kWindowWidth = 760;
constexpr int kWindowHeight = 530;
constexpr int kCaptionBarHeight = 21;
constexpr int kTimerIntervalMs = 100;

// The search text's question: OK keeps it open while the text holds a character the list cannot
// store, so nothing typed is lost.
class SearchTextDialog final : public QInputDialog {
public:
    using QInputDialog::QInputDialog;

protected:
    void done(int result) override
    {
        if (result == Accepted && !ConfirmStorable(this, textValue())) {
            return;
        }
        QInputDialog::done(result);
    }
};

}  // namespace

TVelkDolvane::TVelkDolvane(MainWindowServices services, QWidget* parent)
    : QMainWindow(parent),
      prompts_(std::make_unique<MessagePrompts>(this)),
      files_(services.files)
{
    files_.SetLockWaiting(&lockWait_);
    setObjectName(QStringLiteral("VelkDolvane"));
    setWindowTitle(QStringLiteral("Dolvane"));
    setFont(JapaneseFont(12));
    // A larger desktop font makes the whole layout larger, but never larger than the screen.
    QSize size(ScaledToDesktop(kWindowWidth), ScaledToDesktop(kWindowHeight));
    if (const QScreen* screen = this->screen(); screen != nullptr && size.width() > kWindowWidth) {
        size = size.boundedTo(screen->availableGeometry().size()).expandedTo(QSize(kWindowWidth, kWindowHeight));
    }
    setMinimumSize(size);
    resize(size);

    // The model loads the list as it is built; the widgets come next and show what it holds.
    model_ = std::make_unique<MainWindowModel>(
        std::move(services.paths),
        MainWindowPorts{services.clock, *prompts_, services.sibling, services.files, services.siblingSettings,
                        std::move(services.loadConversionLibrary), services.notifier, services.sync});
    createMenus();
    createCentralArea();
    createTimers();
    connectList();
    connectTabs();
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    model_->SetObserver(this);
    StoreStateChanged();

    model_->FormCreate();
    listView_->RestoreColumnWidths(model_->Session().ColumnWidths());
    // Hosted by the sibling, the program is reached from the sibling's tray menu and stays off
    // the task bar.
    if (model_->Paths().InsideSiblingFolder) {
        setWindowFlag(Qt::Tool, true);
    }

    if (const QScreen* screen = this->screen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

TVelkDolvane::~TVelkDolvane()
{
    if (syncWorker_ != nullptr) {
        syncWorker_->wait();  // it reports to this window's model
    }
    files_.SetLockWaiting(nullptr);
    model_->SetObserver(nullptr);
    model_->FormDestroy();
    // The list and the panel read the model's rows until they are gone; they must go first,
    // while the model still lives (QWidget would destroy them only after this destructor).
    statusTimer_->stop();
    scrollTimer_->stop();
    delete takeCentralWidget();
    delete listModel_;
    listModel_ = nullptr;
    editPanel_ = nullptr;
    calendarView_ = nullptr;
}

void TVelkDolvane::createCentralArea()
{
    // The main tab row beside the page (on any of its four sides); on the page the category tab
    // row above or below the caption bar and the list, and the editing panel at the bottom.
    auto* central = new QWidget(this);
    mainRowLayout_ = new QBoxLayout(QBoxLayout::TopToBottom, central);
    mainRowLayout_->setContentsMargins(0, 0, 0, 0);
    mainRowLayout_->setSpacing(0);

    mainTabs_ = new TabRow(central);
    mainTabs_->setObjectName(QStringLiteral("TabControl1"));
    mainTabs_->setAccessibleName(QStringLiteral("メインタブ"));
    mainTabs_->setFont(JapaneseFont(13, true));
    for (const auto* caption : {u"全て", u"なし", u"検索", u"未完了", u"完了"}) {
        mainTabs_->addTab(QString::fromUtf16(caption));
    }
    mainRowLayout_->addWidget(mainTabs_);

    auto* page = new QWidget(central);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    mainRowLayout_->addWidget(page, 1);

    categoryRowLayout_ = new QBoxLayout(QBoxLayout::BottomToTop);
    categoryRowLayout_->setSpacing(0);
    categoryTabs_ = new TabRow(page);
    categoryTabs_->setObjectName(QStringLiteral("TabControl2"));
    categoryTabs_->setAccessibleName(QStringLiteral("分類タブ"));
    categoryTabs_->setFont(JapaneseFont(12));
    categoryRowLayout_->addWidget(categoryTabs_);
    auto* listArea = new QVBoxLayout;
    listArea->setSpacing(0);
    categoryRowLayout_->addLayout(listArea, 1);
    layout->addLayout(categoryRowLayout_, 1);

    captionBar_ = new QLabel(page);
    captionBar_->setObjectName(QStringLiteral("Panel7"));
    captionBar_->setFixedHeight(ScaledToDesktop(kCaptionBarHeight));
    SetFixedColours(captionBar_, kCaptionBarColours);
    captionBar_->hide();
    listArea->addWidget(captionBar_);

    listModel_ = new ToDoListModel(model_->Rows(), this);
    listModel_->SetRowColour([this](int row) { return model_->List().RowColourOf(static_cast<std::size_t>(row)); });
    listView_ = new ToDoListView(page);
    listView_->setModel(listModel_);
    UseNarrowHeaderMargins(listView_->header());
    listArea->addWidget(listView_, 1);
    // The calendar takes the list's place while it is shown.
    calendarView_ = new CalendarView(model_->Calendar(), page);
    calendarView_->hide();
    listArea->addWidget(calendarView_, 1);

    editPanel_ = new EditPanelWidget(model_->Editing(), page);
    elapsedRateBox_ = editPanel_->ElapsedRateBox();
    connect(elapsedRateBox_, &QCheckBox::toggled, this, [this](bool on) {
        model_->SetElapsedRate(on);
        listModel_->SetElapsedRate(on);
        statusTimer_->setInterval(StatusRefresh::kFastIntervalMs);
    });
    connect(editPanel_->KeepDaysEdit(), &QSpinBox::valueChanged, this,
            [this](int days) { model_->Session().SetKeepDays(days); });
    // After Add and Replace the list has the keyboard, its current row the one the panel shows:
    // Del, the arrow keys and Space (which ticks the current row's box) act on the new rows.
    const auto focusShownRow = [this] {
        if (const int row = model_->Editing().ShownRow(); row >= 0) {
            listView_->selectionModel()->setCurrentIndex(listModel_->index(row, 0), QItemSelectionModel::NoUpdate);
        }
        listView_->setFocus();
    };
    connect(editPanel_, &EditPanelWidget::addClicked, this, [this, focusShownRow] {
        model_->AddFromPanel();
        focusShownRow();
    });
    connect(editPanel_, &EditPanelWidget::replaceClicked, this, [this, focusShownRow] {
        model_->Editing().ReplaceSelected();
        focusShownRow();
    });
    connect(editPanel_, &EditPanelWidget::applyClicked, this, [this] { model_->Apply(); });
    connect(editPanel_, &EditPanelWidget::undoClicked, this, [this] { model_->Reload(); });
    connect(editPanel_, &EditPanelWidget::calendarToggled, this, [this](bool shown) {
        listView_->setVisible(!shown);
        calendarView_->setVisible(shown);
        model_->Calendar().Show(shown);
        if (!shown) {
            listView_->setFocus();
        }
    });
    connect(editPanel_, &EditPanelWidget::calendarModeClicked, this, [this] { model_->Calendar().CycleMode(); });
    connect(editPanel_, &EditPanelWidget::calendarStepClicked, this,
            [this](bool forward) { model_->Calendar().Step(forward); });
    connect(editPanel_, &EditPanelWidget::dateFromCalendarRequested, this,
            [this](int field) { model_->Calendar().SetDateFromCalendar(static_cast<PanelField>(field)); });
    layout->addWidget(editPanel_);

    setCentralWidget(central);
}

void TVelkDolvane::createTimers()
{
    statusTimer_ = new QTimer(this);
    statusTimer_->setObjectName(QStringLiteral("Timer1"));
    statusTimer_->setInterval(kTimerIntervalMs);
    connect(statusTimer_, &QTimer::timeout, this, &TVelkDolvane::statusTimerTick);

    scrollTimer_ = new QTimer(this);
    scrollTimer_->setObjectName(QStringLiteral("Timer2"));
    scrollTimer_->setInterval(kTimerIntervalMs);
    connect(scrollTimer_, &QTimer::timeout, this, &TVelkDolvane::autoScrollTick);
}

void TVelkDolvane::connectList()
{
    connect(listView_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TVelkDolvane::copySelectionToModel);
    connect(listModel_, &ToDoListModel::completedChangeRequested, this, [this](int row, bool completed) {
        model_->List().SetRowCompleted(static_cast<std::size_t>(row), completed);
        listModel_->RowsChanged(row, row);
    });
    connect(listView_, &ToDoListView::rowPressed, this,
            [this](int row, int column) { model_->List().RecordPress(row, column); });
    connect(listView_, &ToDoListView::checkBoxPressed, this,
            [this](int row) { model_->List().PressCheckBox(static_cast<std::size_t>(row)); });
    connect(listView_, &ToDoListView::dragStarted, this, [this] {
        statusTimer_->stop();
        scrollTimer_->start();
    });
    connect(listView_, &ToDoListView::dragMoved, this, [this](int row) {
        model_->List().DragOver(row);
        applySelectionFromModel();
    });
    connect(listView_, &ToDoListView::dragEnded, this, [this] {
        scrollTimer_->stop();
        statusTimer_->start();
    });
    connect(listView_, &ToDoListView::released, this, [this] { model_->Editing().ShowSelectedRow(); });
    connect(listView_, &ToDoListView::columnWidthsEdited, this,
            [this] { model_->Session().SetColumnWidths(listView_->ColumnWidths()); });
    auto* deleteAction = new QAction(QStringLiteral("削除(&D)"), listView_);
    deleteAction->setObjectName(QStringLiteral("Delete1"));
    deleteAction->setShortcut(QKeySequence::Delete);
    deleteAction->setShortcutContext(Qt::WidgetShortcut);
    listView_->addAction(deleteAction);
    connect(deleteAction, &QAction::triggered, this, [this] { model_->List().DeleteSelected(); });
    listView_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(listView_, &QWidget::customContextMenuRequested, this, &TVelkDolvane::showListMenu);
    connect(listView_, &ToDoListView::selectionKeyReleased, this, [this] { model_->Editing().ShowSelectedRow(); });
    connectCellEdit();
    listView_->header()->setSectionsClickable(true);
    connect(listView_->header(), &QHeaderView::sectionClicked, this,
            [this](int column) { model_->List().SortByColumn(column); });
}

void TVelkDolvane::connectTabs()
{
    // The model decides (asking first when there are unsaved changes) before either tab row
    // moves; when the change goes ahead its view notice selects the new tab, so a refused change
    // leaves nothing to put back.
    const auto changeView = [this](const std::function<bool()>& change) {
        statusTimer_->stop();
        if (change()) {
            statusTimer_->setInterval(StatusRefresh::kFastIntervalMs);
        }
        statusTimer_->start();
    };
    connect(mainTabs_, &TabRow::tabRequested, this, [this, changeView](int tab) {
        if (tab >= 0 && tab < kMainTabCount) {
            changeView([this, tab] { return model_->Tabs().ChangeMainTab(static_cast<MainTab>(tab)); });
        }
    });
    connect(categoryTabs_, &TabRow::tabRequested, this,
            [this, changeView](int tab) { changeView([this, tab] { return model_->Tabs().ChangeCategoryTab(tab); }); });
}

void TVelkDolvane::findText()
{
    SearchTextDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("実行者とすべきことから検索"));
    dialog.setLabelText(QStringLiteral("検索する文字を入力"));
    dialog.setTextValue(FromCp932(model_->Tabs().SearchText()));
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    if (const auto cp932 = ToCp932(dialog.textValue())) {
        model_->Tabs().SetSearchText(*cp932);  // a "no" to dropping the changes keeps everything
    }
}

void TVelkDolvane::ApplyTabPositions()
{
    struct Placement {
        QBoxLayout::Direction direction;
        QTabBar::Shape shape;
    };
    static constexpr Placement kPlacements[] = {
        {QBoxLayout::TopToBottom, QTabBar::RoundedNorth},
        {QBoxLayout::BottomToTop, QTabBar::RoundedSouth},
        {QBoxLayout::LeftToRight, QTabBar::RoundedWest},
        {QBoxLayout::RightToLeft, QTabBar::RoundedEast},
    };
    const Settings& settings = model_->CurrentSettings();
    const Placement main = kPlacements[static_cast<int>(settings.MainTabPosition)];
    mainRowLayout_->setDirection(main.direction);
    mainTabs_->setShape(main.shape);
    // The category row runs along the top or the bottom only.
    const Placement category = kPlacements[settings.CategoryTabPosition == TabPosition::Top ? 0 : 1];
    categoryRowLayout_->setDirection(category.direction);
    categoryTabs_->setShape(category.shape);
    ViewChanged();
}

void TVelkDolvane::ViewChanged()
{
    const ViewTabs& tabs = model_->Tabs();
    mainTabs_->setTabText(static_cast<int>(MainTab::Search), FromCp932(tabs.MainTabCaption(MainTab::Search)));
    mainTabs_->setCurrentIndex(static_cast<int>(tabs.CurrentTab()));
    while (categoryTabs_->count() > 0) {
        categoryTabs_->removeTab(categoryTabs_->count() - 1);
    }
    for (const auto& caption : tabs.CategoryTabs()) {
        categoryTabs_->addTab(FromCp932(caption));
    }
    categoryTabs_->setCurrentIndex(tabs.CategoryTabIndex());
    captionBar_->setText(FromCp932(tabs.CaptionBarText()));
    captionBar_->setVisible(tabs.CaptionBarVisible());
}

void TVelkDolvane::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    statusTimer_->start();
}

void TVelkDolvane::closeEvent(QCloseEvent* event)
{
    if (lockWait_.Waiting()) {
        // A save inside this very event handling waits for the list: the status timer closes
        // the window once it is done.
        closeAfterWait_ = true;
        event->ignore();
        return;
    }
    if (syncWorker_ != nullptr) {
        // The pass writes the list file: the window closes once it is over.
        closeAfterSync_ = true;
        event->ignore();
        return;
    }
    statusTimer_->stop();
    if (model_->CloseQuery()) {
        event->accept();
        Q_EMIT closed();
        return;
    }
    event->ignore();
    statusTimer_->start();
}

void TVelkDolvane::statusTimerTick()
{
    if (lockWait_.Waiting()) {
        return;  // the purge's save or a close must not start inside a save that waits
    }
    if (closeAfterWait_) {
        closeAfterWait_ = false;
        close();
        return;
    }
    const auto tick = model_->StatusTick();
    if (tick.closeWindow) {
        statusTimer_->stop();
        close();
        return;
    }
    if (tick.changedRow) {
        const int row = static_cast<int>(*tick.changedRow);
        listModel_->RowsChanged(row, row);
    }
    if (tick.repaintAll) {
        listView_->viewport()->update();
    }
    if (tick.repaintCalendar && model_->Calendar().Shown()) {
        calendarView_->Grid()->update();
    }
    statusTimer_->setInterval(tick.intervalMs);
}

void TVelkDolvane::autoScrollTick()
{
    if (!(QGuiApplication::mouseButtons() & Qt::LeftButton)) {
        scrollTimer_->stop();
        listView_->EndDrag();
        return;
    }
    const QRect rows = listView_->RowsAreaOnScreen();
    const QRect window = frameGeometry();
    const AutoScrollStep step =
        AutoScrollStepFor(QCursor::pos().y(), rows.top(), rows.top() + rows.height(), window.top(), window.height());
    scrollTimer_->setInterval(step.intervalMs);
    const int row = listView_->ScrollForDrag(step.direction);
    if (row >= 0) {
        model_->List().SetRowSelected(static_cast<std::size_t>(row), true);
        applySelectionFromModel();
    }
}

void TVelkDolvane::copySelectionToModel()
{
    if (applyingSelection_) {
        return;
    }
    const QItemSelectionModel* selection = listView_->selectionModel();
    for (int row = 0; row < listModel_->rowCount(); ++row) {
        model_->List().SetRowSelected(static_cast<std::size_t>(row), selection->isRowSelected(row, QModelIndex()));
    }
}

void TVelkDolvane::applySelectionFromModel()
{
    QItemSelection selection;
    const auto& rows = model_->Rows();
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (rows[row].Selected) {
            const int index = static_cast<int>(row);
            selection.select(listModel_->index(index, 0), listModel_->index(index, listModel_->columnCount() - 1));
        }
    }
    applyingSelection_ = true;
    listView_->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    applyingSelection_ = false;
}

}  // namespace dolvane
