#include "ui/dialogs/TInputDlg.h"

#include "ui/dialogs/DialogButtons.h"
#include "ui/dialogs/TFusenDlg.h"
#include "ui/widgets/ButtonGlyph.h"
#include "ui/widgets/Cp932Text.h"
#include "ui/widgets/EditableCombo.h"
#include "ui/widgets/Hints.h"
#include "ui/widgets/JapaneseFont.h"
#include "ui/widgets/TNumberEdit.h"
#include "ui/widgets/WarningPreview.h"

#include "core/edit/DatePick.h"
#include "core/text/Numbers.h"
#include "core/time/TimeTexts.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>
#include <utility>

namespace dolvane {
namespace {

constexpr int kDialogWidth = 380;
constexpr int kDialogHeight = 100;
constexpr int kTaskDialogHeight = 165;

// A progress or warning value that is not a number shows as 0.
int NumberOr0(const std::string& text)
{
    return ParseInt32(text).value_or(0);
}

}  // namespace

TInputDlg::TInputDlg(QWidget* owner, CellEditRequest request) : QDialog(owner), request_(std::move(request))
{
    setObjectName(QStringLiteral("InputDlg"));
    setWindowTitle(QStringLiteral("編集"));
    setFont(JapaneseFont(12));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    switch (request_.kind) {
    case CellEditorKind::DateTime:
        createDatePanel();
        break;
    case CellEditorKind::Choice:
        createChoicePanel();
        break;
    case CellEditorKind::Task:
        createTaskPanel();
        break;
    case CellEditorKind::Progress:
        createProgressPanel();
        break;
    case CellEditorKind::Warning:
        createWarningPanel();
        break;
    }
    nameEditor();
    layout->addStretch();
    createButtons();
    // A fixed border: the dialog is as large as its one editor needs.
    setFixedSize(ScaledToDesktop(kDialogWidth),
                 ScaledToDesktop(request_.kind == CellEditorKind::Task ? kTaskDialogHeight : kDialogHeight));
    if (const QScreen* screen = this->screen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

QWidget* TInputDlg::createPanel(const char* name, const QString& caption)
{
    auto* panel = new QWidget(this);
    panel->setObjectName(QString::fromLatin1(name));
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(6, 8, 6, 4);
    if (!caption.isNull()) {
        // The panel's own caption, on its left.
        auto* label = new QLabel(caption, panel);
        label->setObjectName(QStringLiteral("Caption"));
        row->addWidget(label);
    }
    static_cast<QVBoxLayout*>(layout())->addWidget(panel);
    return panel;
}

void TInputDlg::nameEditor()
{
    QWidget* editors[] = {dateEdit_, choiceCombo_, taskMemo_, progressEdit_, warningEdit_};
    QWidget* editor = *std::find_if(std::begin(editors), std::end(editors), [](QWidget* e) { return e != nullptr; });
    // The label (the panel's caption, or Label1 over the task) names the editor for a screen reader.
    for (QLabel* label :
         {findChild<QLabel*>(QStringLiteral("Caption")), findChild<QLabel*>(QStringLiteral("Label1"))}) {
        if (label != nullptr) {
            label->setBuddy(editor);
        }
    }
    editor->setAccessibleName(FromCp932(request_.label).trimmed());
}

void TInputDlg::createDatePanel()
{
    QWidget* panel = createPanel("Panel1", FromCp932(request_.label));
    dateEdit_ = new QLineEdit(FromCp932(request_.value), panel);
    dateEdit_->setObjectName(QStringLiteral("Edit1"));
    dateEdit_->setReadOnly(true);
    QFont bold = dateEdit_->font();
    bold.setBold(true);
    dateEdit_->setFont(bold);
    auto* button = new QToolButton(panel);
    button->setObjectName(QStringLiteral("SpeedButton1"));
    button->setAutoRaise(true);
    button->setFixedSize(ScaledToDesktop(23), ScaledToDesktop(22));
    button->setIcon(MakeButtonGlyph(button->style(), 12, button->palette().color(QPalette::Button)));
    SetHint(button, QStringLiteral("日時の参照"));
    button->setAccessibleName(PickerButtonName(FromCp932(request_.pickerCaption)));
    auto* row = static_cast<QHBoxLayout*>(panel->layout());
    row->addWidget(dateEdit_, 1);
    row->addWidget(button);
    connect(button, &QToolButton::clicked, this, [this] {
        const auto current = ToCp932(dateEdit_->text());
        if (!current) {
            return;
        }
        if (auto picked = PickDateTime(this, *current, FromCp932(request_.pickerCaption), request_.now)) {
            dateEdit_->setText(FromCp932(*picked));
        }
    });
}

void TInputDlg::createChoicePanel()
{
    QWidget* panel = createPanel("Panel2", FromCp932(request_.label));
    choiceCombo_ = MakeEditableCombo("ComboBox1", panel);
    for (const std::string& item : request_.items) {
        choiceCombo_->addItem(FromCp932(item));
    }
    choiceCombo_->setEditText(FromCp932(request_.value));
    static_cast<QHBoxLayout*>(panel->layout())->addWidget(choiceCombo_, 1);
}

void TInputDlg::createTaskPanel()
{
    QWidget* panel = createPanel("Panel5", QString());
    auto* column = new QVBoxLayout;
    auto* label = new QLabel(FromCp932(request_.label), panel);
    label->setObjectName(QStringLiteral("Label1"));
    taskMemo_ = new QPlainTextEdit(FromCp932(request_.value), panel);
    taskMemo_->setObjectName(QStringLiteral("Memo1"));
    taskMemo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // A to-do's text holds no tab characters: Tab goes on to OK.
    taskMemo_->setTabChangesFocus(true);
    column->addWidget(label);
    column->addWidget(taskMemo_, 1);
    static_cast<QHBoxLayout*>(panel->layout())->addLayout(column, 1);
}

void TInputDlg::createProgressPanel()
{
    QWidget* panel = createPanel("Panel3", FromCp932(request_.label));
    progressEdit_ = new TNumberEdit("ProgressEdit", 0, 100, panel);
    progressEdit_->setWrapping(true);
    progressEdit_->setValue(NumberOr0(request_.value));
    auto* row = static_cast<QHBoxLayout*>(panel->layout());
    row->addWidget(progressEdit_);
    row->addStretch();
}

void TInputDlg::createWarningPanel()
{
    QWidget* panel = createPanel("Panel4", FromCp932(request_.label));
    warningEdit_ = new TNumberEdit("NumberEdit2", 0, 32767, panel);
    warningEdit_->setValue(NumberOr0(request_.value));
    SetSpinHints(warningEdit_, QStringLiteral("0時間～3年|期限の何時間前から警告を開始するかを指定する(0なら警告なし)"),
                 QStringLiteral("時間を増減する"));
    auto* presets = new QComboBox(panel);
    presets->setObjectName(QStringLiteral("ComboBox2"));
    presets->setMaxVisibleItems(17);
    for (const std::string& name : PeriodPresetNames()) {
        presets->addItem(QString::fromStdString(name));
    }
    presets->setCurrentIndex(-1);
    presets->setFixedWidth(20);
    SetHint(presets, QStringLiteral("警告に設定する時間を選択する"));
    presets->setAccessibleName(QStringLiteral("警告に設定する時間"));
    warningPreview_ = MakeWarningPreview(panel);
    warningPreview_->setFixedWidth(ScaledToDesktop(120));
    auto* row = static_cast<QHBoxLayout*>(panel->layout());
    row->addWidget(warningEdit_);
    row->addWidget(presets);
    row->addWidget(new QLabel(QStringLiteral("時間"), panel));
    row->addWidget(warningPreview_);
    row->addStretch();
    showWarningPreview();
    connect(warningEdit_, &QSpinBox::valueChanged, this, &TInputDlg::showWarningPreview);
    connect(presets, &QComboBox::activated, this, [this](int index) { warningEdit_->setValue(HoursForPeriod(index)); });
}

void TInputDlg::showWarningPreview()
{
    warningPreview_->setText(QStringLiteral(" ") + FromCp932(WarningPeriodText(warningEdit_->value())));
}

void TInputDlg::createButtons()
{
    QWidget* strip = OkCancelStrip(this, QStringLiteral("Panel6"));
    strip->layout()->setContentsMargins(6, 2, 6, 6);
    static_cast<QVBoxLayout*>(layout())->addWidget(strip);
}

QString TInputDlg::ResultText() const
{
    switch (request_.kind) {
    case CellEditorKind::DateTime:
        return dateEdit_->text();
    case CellEditorKind::Choice:
        return choiceCombo_->currentText();
    case CellEditorKind::Task:
        return taskMemo_->toPlainText();
    case CellEditorKind::Progress:
        return progressEdit_->text();
    case CellEditorKind::Warning:
        return QString::number(warningEdit_->value());
    }
    return {};
}

void TInputDlg::done(int result)
{
    // OK with a character the list cannot store leaves the dialog open, the text as typed.
    if (result == Accepted && ResultText() != FromCp932(request_.value) && !ConfirmStorable(this, ResultText())) {
        return;
    }
    QDialog::done(result);
}

std::optional<std::string> EditCell(QWidget* owner, const CellEditRequest& request)
{
    return EditCell(owner, request, [](TInputDlg& dialog) { dialog.exec(); });
}

std::optional<std::string> EditCell(QWidget* owner, const CellEditRequest& request,
                                    const std::function<void(TInputDlg&)>& interact)
{
    TInputDlg dialog(owner, request);
    interact(dialog);
    if (dialog.result() != QDialog::Accepted) {
        return std::nullopt;
    }
    const QString text = dialog.ResultText();
    // Text nobody changed keeps its bytes: not every cp932 sequence survives a round trip.
    if (text == FromCp932(request.value)) {
        return request.value;
    }
    return ToCp932(text);  // OK refuses a text it could not store
}

}  // namespace dolvane
