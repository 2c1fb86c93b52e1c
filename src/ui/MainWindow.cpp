#include "ui/MainWindow.h"

#include "ui/dialogs/MessagePrompts.h"
#include "ui/list/ToDoListModel.h"
#include "ui/list/ToDoListView.h"
#include "ui/widgets/JapaneseFont.h"

#include <QCloseEvent>
#include <QLabel>
#include <QScreen>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>

namespace dolvane {
namespace {

constexpr int kWindowWidth = 760;
constexpr int kWindowHeight = 530;
constexpr int kEditPanelHeight = 125;
constexpr int kCaptionBarHeight = 21;
constexpr int kTimerIntervalMs = 100;

}  // namespace

TVelkDolvane::TVelkDolvane(MainWindowServices services, QWidget* parent)
    : QMainWindow(parent),
      prompts_(std::make_unique<MessagePrompts>(this))
{
    setObjectName(QStringLiteral("VelkDolvane"));
    setWindowTitle(QStringLiteral("Dolvane"));
    setFont(JapaneseFont(12));
    setMinimumSize(kWindowWidth, kWindowHeight);
    resize(kWindowWidth, kWindowHeight);

    // The model loads the list as it is built; the widgets come next and show what it holds.
    model_ = std::make_unique<MainWindowModel>(std::move(services.paths),
                                               MainWindowPorts{services.clock, *prompts_, services.sibling,
                                                               services.siblingSettings,
                                                               std::move(services.loadConversionLibrary)});
    createMenus();
    createCentralArea();
    createTimers();
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    model_->SetObserver(this);
    StoreStateChanged();

    model_->FormCreate();
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
    model_->SetObserver(nullptr);
    model_->FormDestroy();
}

void TVelkDolvane::createCentralArea()
{
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    mainTabs_ = new QTabBar(central);
    mainTabs_->setObjectName(QStringLiteral("TabControl1"));
    mainTabs_->setFont(JapaneseFont(13, true));
    for (const auto* caption : {u"全て", u"なし", u"検索", u"未完了", u"完了"}) {
        mainTabs_->addTab(QString::fromUtf16(caption));
    }
    // Only the whole list can be shown until the view filters exist.
    for (int tab = 1; tab < mainTabs_->count(); ++tab) {
        mainTabs_->setTabEnabled(tab, false);
    }
    layout->addWidget(mainTabs_);

    captionBar_ = new QLabel(central);
    captionBar_->setObjectName(QStringLiteral("Panel7"));
    captionBar_->setFixedHeight(kCaptionBarHeight);
    captionBar_->setAutoFillBackground(true);
    QPalette white = captionBar_->palette();
    white.setColor(QPalette::Window, Qt::white);
    captionBar_->setPalette(white);
    captionBar_->hide();
    layout->addWidget(captionBar_);

    listModel_ = new ToDoListModel(model_->Rows(), this);
    listView_ = new ToDoListView(central);
    listView_->setModel(listModel_);
    connect(listModel_, &ToDoListModel::completedChangeRequested, this, [this](int row, bool completed) {
        model_->SetRowCompleted(static_cast<std::size_t>(row), completed);
        listModel_->RowsChanged(row, row);
    });
    layout->addWidget(listView_, 1);

    categoryTabs_ = new QTabBar(central);
    categoryTabs_->setObjectName(QStringLiteral("TabControl2"));
    categoryTabs_->setShape(QTabBar::RoundedSouth);
    layout->addWidget(categoryTabs_);

    editPanel_ = new QWidget(central);
    editPanel_->setObjectName(QStringLiteral("Panel1"));
    editPanel_->setFixedHeight(kEditPanelHeight);
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
}

void TVelkDolvane::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    statusTimer_->start();
}

void TVelkDolvane::closeEvent(QCloseEvent* event)
{
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
    if (model_->SiblingHasGone()) {
        statusTimer_->stop();
        close();
    }
}

void TVelkDolvane::RowsReset()
{
    if (listModel_ != nullptr) {
        listModel_->Reset();
    }
}

void TVelkDolvane::StoreStateChanged()
{
    // The apply and undo buttons come with the editing panel; until then the state is only held.
}

}  // namespace dolvane
