#include "ui/edit/EditPanelWidget.h"

#include "core/app/CalendarController.h"
#include "core/app/PanelCommands.h"
#include "core/edit/DatePick.h"
#include "core/text/TypedText.h"
#include "core/time/TimeTexts.h"
#include "ui/dialogs/TFusenDlg.h"
#include "ui/widgets/ButtonGlyph.h"
#include "ui/widgets/Colours.h"
#include "ui/widgets/Cp932Text.h"
#include "ui/widgets/EditableCombo.h"
#include "ui/widgets/Hints.h"
#include "ui/widgets/JapaneseFont.h"
#include "ui/widgets/MenuWidth.h"
#include "ui/widgets/TNumberEdit.h"
#include "ui/widgets/WarningPreview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStatusTipEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace dolvane {
namespace {

constexpr int kPanelHeight = 125;
constexpr int kLowerLeftWidth = 433;
// Height of the lower area under the top strip, given to the list while it is expanded.
constexpr int kExpandAmount = 91;

int Key(PanelField field)
{
    return static_cast<int>(field);
}

QLineEdit* MakeDateField(const char* name, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(true);
    QFont bold = edit->font();
    bold.setBold(true);
    edit->setFont(bold);
    edit->setFixedWidth(QFontMetrics(bold).horizontalAdvance(QStringLiteral("0000/00/00 00:00")) + 14);
    return edit;
}

QToolButton* MakeDateButton(const char* name, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoRaise(true);
    button->setFixedSize(ScaledToDesktop(23), ScaledToDesktop(22));
    button->setCursor(Qt::PointingHandCursor);
    button->setIcon(MakeButtonGlyph(button->style(), 12, button->palette().color(QPalette::Button)));
    SetHint(button, QStringLiteral("日時の参照|右クリックでカレンダー表示の選択日付を設定"));
    return button;
}

// A click on a spin arrow moves by `clickStep` (a day of warning, 5% of progress); the arrow keys
// in the field keep moving by one.
class ClickStep final : public QObject {
public:
    ClickStep(QSpinBox* spin, int clickStep) : QObject(spin), spin_(spin), clickStep_(clickStep)
    {
        spin->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonPress) {
            spin_->setSingleStep(clickStep_);
        } else if (event->type() == QEvent::MouseButtonRelease) {
            spin_->setSingleStep(1);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QSpinBox* spin_;
    int clickStep_;
};

QComboBox* MakeCombo(const char* name, QWidget* parent)
{
    QComboBox* combo = MakeEditableCombo(name, parent);
    combo->setMaxVisibleItems(10);
    return combo;
}

}  // namespace

EditPanelWidget::EditPanelWidget(PanelCommands& model, QWidget* parent) : QWidget(parent), model_(model)
{
    setObjectName(QStringLiteral("Panel1"));
    setFixedHeight(ScaledToDesktop(kPanelHeight));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(2);
    createTopStrip();
    createLowerLeftBlock();
    createTaskBlock();
    nameFields();
    ShowPanel();
    ShowStoreState();
}

QCheckBox* EditPanelWidget::makeIncludeBox(int key, const QString& caption, const QString& hint)
{
    auto* box = new QCheckBox(caption, this);
    static constexpr const char* kNames[] = {"CheckBox8", "CheckBox2", "CheckBox3", "CheckBox4", "CheckBox5",
                                             "CheckBox7", "CheckBox6", "CheckBox1", "CheckBox10"};
    box->setObjectName(QString::fromLatin1(kNames[key]));
    SetHint(box, hint);
    includeBoxes_[static_cast<std::size_t>(key)] = box;
    connect(box, &QCheckBox::pressed, this, [this] { model_.PressIncludeBox(); });
    connect(box, &QCheckBox::toggled, this, [this, key](bool on) {
        if (!showing_) {
            model_.SetIncluded(static_cast<PanelField>(key), on);
            ShowPanel();
        }
    });
    return box;
}

void EditPanelWidget::nameFields()
{
    // A screen reader names each field after its include box's caption (a drop-down would
    // otherwise be called by its value); the date fields, as their hints do, after the moment.
    const std::pair<QWidget*, QString> names[] = {
        {startEdit_, QStringLiteral("開始日時")},     {deadlineEdit_, QStringLiteral("期限日時")},
        {completedEdit_, QStringLiteral("完了日時")}, {importanceCombo_, QStringLiteral("重要度")},
        {executorCombo_, QStringLiteral("実行者")},   {categoryCombo_, QStringLiteral("分類")},
        {progressEdit_, QStringLiteral("進捗")},      {warningEdit_, QStringLiteral("警告")},
        {taskMemo_, QStringLiteral("すべきこと")},    {undoButton_, undoButton_->toolTip()},
    };
    for (const auto& [field, name] : names) {
        field->setAccessibleName(name);
    }
}

void EditPanelWidget::createTopStrip()
{
    auto* strip = new QHBoxLayout;
    strip->addWidget(
        makeIncludeBox(Key(PanelField::Start), QStringLiteral("開始"), QStringLiteral("開始日時|開始した日時")));
    startEdit_ = MakeDateField("Edit3", this);
    SetHint(startEdit_, QStringLiteral("開始日時|開始した日時"));
    strip->addWidget(startEdit_);
    strip->addWidget(makeDateButton(Key(PanelField::Start), "SpeedButton3", QStringLiteral("開始日時の設定")));
    strip->addWidget(makeIncludeBox(Key(PanelField::Importance), QStringLiteral("重要度"), QStringLiteral("重要度")));
    importanceCombo_ = MakeCombo("ComboBox1", this);
    importanceCombo_->addItems({QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                                QStringLiteral("4"), QStringLiteral("5")});
    importanceCombo_->setFixedWidth(ScaledToDesktop(44));
    SetHint(importanceCombo_, QStringLiteral("重要度"));
    strip->addWidget(importanceCombo_);
    strip->addWidget(makeIncludeBox(Key(PanelField::Executor), QStringLiteral("実行者"), QStringLiteral("実行者")));
    executorCombo_ = MakeCombo("ComboBox2", this);
    SetHint(executorCombo_, QStringLiteral("実行者"));
    strip->addWidget(executorCombo_, 1);
    strip->addWidget(makeIncludeBox(Key(PanelField::Category), QStringLiteral("分類"), QStringLiteral("分類")));
    categoryCombo_ = MakeCombo("ComboBox3", this);
    SetHint(categoryCombo_, QStringLiteral("分類"));
    strip->addWidget(categoryCombo_, 1);
    createCalendarButtons(strip);
    static_cast<QVBoxLayout*>(layout())->addLayout(strip);

    connectField(Key(PanelField::Importance), importanceCombo_);
    connectField(Key(PanelField::Executor), executorCombo_);
    connectField(Key(PanelField::Category), categoryCombo_);
}

void EditPanelWidget::createLowerLeftBlock()
{
    // Everything under the top strip: hidden while the list area is expanded.
    lowerArea_ = new QWidget(this);
    lowerArea_->setObjectName(QStringLiteral("Panel3"));
    auto* lower = new QHBoxLayout(lowerArea_);
    lower->setContentsMargins(0, 0, 0, 0);
    auto* left = new QWidget(lowerArea_);
    left->setFixedWidth(ScaledToDesktop(kLowerLeftWidth));
    auto* grid = new QGridLayout(left);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(2);

    // Row 1: deadline and completion.
    auto* dates = new QHBoxLayout;
    dates->addWidget(makeIncludeBox(Key(PanelField::Deadline), QStringLiteral("期限"),
                                    QStringLiteral("完了予定|完了する予定の日時")));
    deadlineEdit_ = MakeDateField("Edit4", left);
    SetHint(deadlineEdit_, QStringLiteral("完了予定|完了する予定の日時"));
    dates->addWidget(deadlineEdit_);
    dates->addWidget(makeDateButton(Key(PanelField::Deadline), "SpeedButton4", QStringLiteral("期限日時の設定")));
    dates->addWidget(makeIncludeBox(Key(PanelField::Completed), QStringLiteral("完了"),
                                    QStringLiteral("完了日時|実際に完了した日時")));
    completedEdit_ = MakeDateField("Edit2", left);
    SetHint(completedEdit_, QStringLiteral("完了日時|実際に完了した日時"));
    dates->addWidget(completedEdit_);
    dates->addWidget(makeDateButton(Key(PanelField::Completed), "SpeedButton2", QStringLiteral("完了日時の設定")));
    dates->addStretch();
    grid->addLayout(dates, 0, 0);

    // Row 2: progress, warning hours and their preview.
    auto* numbers = new QHBoxLayout;
    numbers->addWidget(makeIncludeBox(Key(PanelField::Progress), QStringLiteral("進捗"), QStringLiteral("進捗")));
    progressEdit_ = new TNumberEdit("ProgressEdit", 0, 100, left);
    progressEdit_->setWrapping(true);
    SetHint(progressEdit_, QStringLiteral("進捗"));
    new ClickStep(progressEdit_, 5);
    numbers->addWidget(progressEdit_);
    numbers->addWidget(makeIncludeBox(Key(PanelField::WarningHours), QStringLiteral("警告"), QStringLiteral("警告")));
    warningEdit_ = new TNumberEdit("NumberEdit2", 0, 32767, left);
    SetSpinHints(warningEdit_, QStringLiteral("0時間～3年|期限の何時間前から警告を開始するかを指定する(0なら警告なし)"),
                 QStringLiteral("時間を増減する"));
    new ClickStep(warningEdit_, 24);
    numbers->addWidget(warningEdit_);
    auto* presets = new QToolButton(left);
    presets->setObjectName(QStringLiteral("ComboBox4"));
    presets->setArrowType(Qt::DownArrow);
    presets->setAccessibleName(QStringLiteral("警告に設定する時間"));
    presets->setPopupMode(QToolButton::InstantPopup);
    SetHint(presets, QStringLiteral("警告に設定する時間を選択する"));
    auto* presetMenu = new QMenu(presets);
    KeepMenuTextsWhole(presetMenu);
    const auto& names = PeriodPresetNames();
    for (std::size_t index = 0; index < names.size(); ++index) {
        QAction* preset = presetMenu->addAction(QString::fromStdString(names[index]));
        const int hours = HoursForPeriod(static_cast<int>(index));
        connect(preset, &QAction::triggered, this, [this, hours] { warningEdit_->setValue(hours); });
    }
    presets->setMenu(presetMenu);
    numbers->addWidget(presets);
    numbers->addWidget(new QLabel(QStringLiteral("時間"), left));
    warningPreview_ = MakeWarningPreview(left);
    warningPreview_->setFixedSize(ScaledToDesktop(120), ScaledToDesktop(20));
    numbers->addWidget(warningPreview_);
    numbers->addStretch();
    grid->addLayout(numbers, 1, 0);

    // Row 3: keeping period, the elapsed-rate switch and the commands.
    auto* commands = new QHBoxLayout;
    auto* keepDaysLabel = new QLabel(QStringLiteral("完了したToDoの保持日数"), left);
    commands->addWidget(keepDaysLabel);
    keepDaysEdit_ = new TNumberEdit("NumberEdit1", kKeepDaysRange.minimum, kKeepDaysRange.maximum, left);
    keepDaysLabel->setBuddy(keepDaysEdit_);
    keepDaysEdit_->setFixedWidth(ScaledToDesktop(44));
    keepDaysEdit_->setValue(kKeepDaysRange.defaultValue);
    commands->addWidget(keepDaysEdit_);
    elapsedRateBox_ = new QCheckBox(QStringLiteral("経過率"), left);
    elapsedRateBox_->setObjectName(QStringLiteral("CheckBox9"));
    SetHint(elapsedRateBox_, QStringLiteral("経過時間の項目欄に経過率を表示する"));
    commands->addWidget(elapsedRateBox_);
    addButton_ = new QPushButton(QStringLiteral("追加(&N)"), left);
    addButton_->setObjectName(QStringLiteral("Button1"));
    SetHint(addButton_, QStringLiteral("新規ToDoを作成する"));
    replaceButton_ = new QPushButton(QStringLiteral("置換(&P)"), left);
    replaceButton_->setObjectName(QStringLiteral("Button2"));
    applyButton_ = new QPushButton(QStringLiteral("適用(&Y)"), left);
    applyButton_->setObjectName(QStringLiteral("Button3"));
    SetHint(applyButton_, QStringLiteral("変更内容を保存する"));
    undoButton_ = new QToolButton(left);
    undoButton_->setObjectName(QStringLiteral("SpeedButton1"));
    undoButton_->setIcon(MakeButtonGlyph(undoButton_->style(), 1, undoButton_->palette().color(QPalette::Button)));
    SetHint(undoButton_, QStringLiteral("元に戻す"));
    undoButton_->setAutoRaise(true);
    // The block is only 433 pixels wide: the buttons take no more than their captions need.
    commands->setSpacing(2);
    for (QPushButton* button : {addButton_, replaceButton_, applyButton_}) {
        const QString caption = QString(button->text()).remove(QLatin1Char('&'));
        button->setFixedWidth(button->fontMetrics().horizontalAdvance(caption) + 8);
        // Read out without "(N)": a screen reader tells the mnemonic as the shortcut.
        button->setAccessibleName(caption.left(caption.indexOf(QLatin1Char('('))));
        commands->addWidget(button);
    }
    commands->addWidget(undoButton_);
    grid->addLayout(commands, 2, 0);
    lower->addWidget(left);
    static_cast<QVBoxLayout*>(layout())->addWidget(lowerArea_, 1);

    connectField(Key(PanelField::Progress), progressEdit_);
    connectField(Key(PanelField::WarningHours), warningEdit_);
    connect(addButton_, &QPushButton::clicked, this, &EditPanelWidget::addClicked);
    connect(replaceButton_, &QPushButton::clicked, this, &EditPanelWidget::replaceClicked);
    connect(applyButton_, &QPushButton::clicked, this, &EditPanelWidget::applyClicked);
    // Ctrl+S anywhere in the window, also while the lower area (and so the button) is hidden.
    auto* save = new QShortcut(QKeySequence::Save, this);
    save->setContext(Qt::WindowShortcut);
    connect(save, &QShortcut::activated, this, [this] {
        if (applyButton_->isEnabled()) {
            Q_EMIT applyClicked();
        }
    });
    connect(undoButton_, &QToolButton::clicked, this, &EditPanelWidget::undoClicked);
}

void EditPanelWidget::createTaskBlock()
{
    auto* lower = static_cast<QHBoxLayout*>(lowerArea_->layout());
    auto* right = new QVBoxLayout;
    right->setSpacing(0);
    right->addWidget(makeIncludeBox(Key(PanelField::Task), QStringLiteral("すべきこと"), QStringLiteral("すべきこと")));
    taskMemo_ = new QPlainTextEdit(this);
    taskMemo_->setObjectName(QStringLiteral("Memo1"));
    taskMemo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // A to-do's text holds no tab characters: Tab goes on to the commands.
    taskMemo_->setTabChangesFocus(true);
    right->addWidget(taskMemo_, 1);
    lower->addLayout(right, 1);
    // The task sits right of the commands but is filled before them: Tab goes from the last box
    // of the left block through the task to 追加, 置換, 適用 and undo.
    QWidget* const order[] = {elapsedRateBox_, includeBoxes_[static_cast<std::size_t>(Key(PanelField::Task))],
                              taskMemo_,       addButton_,
                              replaceButton_,  applyButton_,
                              undoButton_};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
    connect(taskMemo_, &QPlainTextEdit::textChanged, this,
            [this] { fieldEdited(Key(PanelField::Task), taskMemo_->toPlainText()); });
}

void EditPanelWidget::createCalendarButtons(QHBoxLayout* strip)
{
    const auto makeButton = [this, strip](const char* name, const QString& hint) {
        auto* button = new QToolButton(this);
        button->setObjectName(QString::fromLatin1(name));
        button->setToolTip(hint);
        button->setStatusTip(hint);
        button->setAccessibleName(hint);
        button->setAutoRaise(true);
        button->setFixedSize(ScaledToDesktop(26), ScaledToDesktop(24));
        strip->addWidget(button);
        return button;
    };
    calendarButton_ = makeButton("SpeedButton5", QStringLiteral("カレンダー"));
    calendarButton_->setCheckable(true);
    calendarButton_->setText(QStringLiteral("暦"));
    modeButton_ = makeButton("SpeedButton6", QString::fromUtf8(CalendarController::ModeHint(CalendarMode::Month)));
    modeButton_->setText(QString::fromUtf8(CalendarController::ModeCaption(CalendarMode::Month)));
    QFont modeFont = JapaneseFont(16, true);
    modeButton_->setFont(modeFont);
    // Blue while it can be pressed (unless the desktop's buttons are too dark for it); disabled it
    // keeps the style's grey like the other buttons.
    QPalette blue = modeButton_->palette();
    const QColor accent = ColourOf(ReadableAccentOn(kAccentTextColour, BgrOf(blue.color(QPalette::Button))));
    blue.setColor(QPalette::Active, QPalette::ButtonText, accent);
    blue.setColor(QPalette::Inactive, QPalette::ButtonText, accent);
    modeButton_->setPalette(blue);
    backButton_ = makeButton("SpeedButton7", QStringLiteral("戻る"));
    backButton_->setArrowType(Qt::LeftArrow);
    forwardButton_ = makeButton("SpeedButton8", QStringLiteral("進む"));
    forwardButton_->setArrowType(Qt::RightArrow);
    expandButton_ = makeButton("SpeedButton9", QStringLiteral("拡張と収縮"));
    expandButton_->setCheckable(true);
    expandButton_->setArrowType(Qt::DownArrow);
    ShowCalendarButtons(false, CalendarMode::Month);

    connect(calendarButton_, &QToolButton::toggled, this, &EditPanelWidget::calendarToggled);
    connect(modeButton_, &QToolButton::clicked, this, &EditPanelWidget::calendarModeClicked);
    connect(backButton_, &QToolButton::clicked, this, [this] { Q_EMIT calendarStepClicked(false); });
    connect(forwardButton_, &QToolButton::clicked, this, [this] { Q_EMIT calendarStepClicked(true); });
    connect(expandButton_, &QToolButton::toggled, this, [this](bool down) {
        SetExpanded(down);
        Q_EMIT expandToggled(down);
    });
}

void EditPanelWidget::SetExpanded(bool expanded)
{
    lowerArea_->setVisible(!expanded);
    setFixedHeight(ScaledToDesktop(expanded ? kPanelHeight - kExpandAmount : kPanelHeight));
}

QToolButton* EditPanelWidget::makeDateButton(int key, const char* name, const QString& caption)
{
    QToolButton* button = MakeDateButton(name, this);
    button->setAccessibleName(PickerButtonName(caption));
    // A right click takes the day selected in the calendar, at the present time of day.
    button->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(button, &QToolButton::customContextMenuRequested, this,
            [this, key] { Q_EMIT dateFromCalendarRequested(key); });
    connect(button, &QToolButton::clicked, this, [this, key, caption] {
        const auto field = static_cast<PanelField>(key);
        if (auto text = PickDateTime(window(), model_.Panel().Text(field), caption, model_.Now())) {
            model_.SetText(field, std::move(*text));
        }
    });
    return button;
}

void EditPanelWidget::connectField(int key, QWidget* field)
{
    if (auto* combo = qobject_cast<QComboBox*>(field)) {
        connect(combo, &QComboBox::editTextChanged, this, [this, key](const QString& text) { fieldEdited(key, text); });
    } else if (auto* spin = qobject_cast<QSpinBox*>(field)) {
        connect(spin, &QSpinBox::textChanged, this, [this, key](const QString& text) { fieldEdited(key, text); });
    }
}

void EditPanelWidget::fieldEdited(int key, const QString& text)
{
    if (showing_) {
        return;
    }
    const auto field = static_cast<PanelField>(key);
    if (auto cp932 = ToCp932(text)) {
        model_.SetText(field, std::move(*cp932));
    } else {
        // The field keeps what was typed, cursor and all; the status bar names the character
        // now, and Add or Replace name it again rather than store something else.
        const QString character = UnstorableCharacter(text);
        model_.SetUnstorable(field, character.toStdString());
        QStatusTipEvent tip(QString::fromStdString(UnstorableCharacterMessage(character.toStdString())));
        QCoreApplication::sendEvent(this, &tip);
    }
    ShowPanel();
}

}  // namespace dolvane
