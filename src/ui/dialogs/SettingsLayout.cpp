// The settings layout of TFusenDlg and the dialog run that edits the settings with it.
#include "ui/dialogs/TFusenDlg.h"

#include "core/edit/ColourBar.h"
#include "core/store/Settings.h"
#include "ui/calendar/CalendarPainter.h"
#include "ui/widgets/JapaneseFont.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include <utility>

namespace dolvane {

// Shape1: the calendar's bar drawn in the two colours being edited, the outline standing for the
// bar's frame and the inside for its progress fill. It sits centred in its frame (Bevel2) and
// grows and shrinks about that centre.
class ColourBarShape final : public QWidget {
public:
    ColourBarShape(QWidget* frame, std::function<void(QPoint)> pressed) : QWidget(frame), pressed_(std::move(pressed))
    {
        setObjectName(QStringLiteral("Shape1"));
        // The hint follows the pointer without a button held, as the bar has no other feedback.
        setMouseTracking(true);
        Resize(ColourBarSizeFor(false));
    }

    QColor Fill() const { return fill_; }
    QColor Frame() const { return frame_; }
    int Outline() const { return outline_; }

    void SetFill(QColor colour)
    {
        fill_ = colour;
        update();
    }

    void SetFrame(QColor colour)
    {
        frame_ = colour;
        update();
    }

    void Resize(ColourBarSize size)
    {
        outline_ = size.outline;
        const QWidget* frame = parentWidget();
        setGeometry((frame->width() - kColourBarWidth) / 2, (frame->height() - size.height) / 2, kColourBarWidth,
                    size.height);
        update();
    }

protected:
    void paintEvent(QPaintEvent* /*event*/) override
    {
        // Solid rectangles rather than a wide pen, so the outline is exactly `outline_` pixels on
        // every side and never blends into the fill.
        QPainter painter(this);
        painter.fillRect(rect(), frame_);
        painter.fillRect(rect().adjusted(outline_, outline_, -outline_, -outline_), fill_);
    }

    void mouseMoveEvent(QMouseEvent* event) override
    {
        const QPoint at = event->position().toPoint();
        const bool overFill = ColourBarPartAt(at.x(), at.y(), width(), height()) == ColourBarPart::Fill;
        const QString hint = overFill ? QStringLiteral("進捗率の色") : QStringLiteral("枠の色");
        setToolTip(hint);
        setStatusTip(hint);
    }

    void mousePressEvent(QMouseEvent* event) override { pressed_(event->position().toPoint()); }

private:
    std::function<void(QPoint)> pressed_;
    QColor fill_;
    QColor frame_;
    int outline_ = 0;
};

namespace {

// Sizes of the settings panel, in pixels.
constexpr int kSettingsFontPixels = 12;
constexpr int kBarFrameWidth = 209;
constexpr int kBarFrameHeight = 44;

void Select(QButtonGroup* buttons, TabPosition position)
{
    if (QAbstractButton* button = buttons->button(static_cast<int>(position))) {
        button->setChecked(true);
    }
}

// A group that somehow has nothing selected leaves the position as it was.
TabPosition SelectedIn(const QButtonGroup* buttons, TabPosition before)
{
    const int id = buttons->checkedId();
    return id < 0 ? before : static_cast<TabPosition>(id);
}

}  // namespace

QWidget* TFusenDlg::createSettingsPanel()
{
    settingsPanel_ = new QFrame(this);
    settingsPanel_->setObjectName(QStringLiteral("Panel1"));
    settingsPanel_->setFont(JapaneseFont(kSettingsFontPixels));
    // Tighter than the style's spacing: all of it has to fit the dialog's fixed height.
    auto* rows = new QVBoxLayout(settingsPanel_);
    rows->setContentsMargins(8, 6, 8, 6);
    rows->setSpacing(4);

    mainTabButtons_ =
        addTabGroup(rows, QStringLiteral("RadioGroup1"), QStringLiteral("メインタブの表示位置"),
                    {QStringLiteral("上"), QStringLiteral("下"), QStringLiteral("左"), QStringLiteral("右")});
    categoryTabButtons_ = addTabGroup(rows, QStringLiteral("RadioGroup2"), QStringLiteral("分類タブの表示位置"),
                                      {QStringLiteral("上"), QStringLiteral("下")});

    rows->addWidget(new QLabel(QStringLiteral("カレンダーのバー表示色"), settingsPanel_));
    // Bevel2 is a direct child of the panel, so its geometry is in the panel's coordinates, the
    // frame HoverAt() compares the pointer with.
    barFrame_ = new QFrame(settingsPanel_);
    barFrame_->setObjectName(QStringLiteral("Bevel2"));
    barFrame_->setFrameStyle(QFrame::Box | QFrame::Sunken);
    barFrame_->setFixedSize(kBarFrameWidth, kBarFrameHeight);
    bar_ = new ColourBarShape(barFrame_, [this](QPoint at) { chooseBarColourAt(at); });
    bar_->setToolTip(QStringLiteral("枠の色"));
    bar_->setStatusTip(bar_->toolTip());
    rows->addWidget(barFrame_);

    caseSensitiveBox_ = new QCheckBox(QStringLiteral("検索では、大文字小文字等を区別する"), settingsPanel_);
    caseSensitiveBox_->setObjectName(QStringLiteral("CheckBox7"));
    rows->addWidget(caseSensitiveBox_);
    weekStepBox_ = new QCheckBox(QStringLiteral("週表示では7日単位で切換える"), settingsPanel_);
    weekStepBox_->setObjectName(QStringLiteral("CheckBox8"));
    rows->addWidget(weekStepBox_);
    remindersBox_ = new QCheckBox(QStringLiteral("期限の通知を表示する"), settingsPanel_);
    remindersBox_->setObjectName(QStringLiteral("CheckBox9"));
    rows->addWidget(remindersBox_);
    rows->addStretch();

    chooseColour_ = [this](QColor initial, const QString& title) -> std::optional<QColor> {
        const QColor chosen = QColorDialog::getColor(initial, this, title);
        return chosen.isValid() ? std::optional<QColor>(chosen) : std::nullopt;
    };
    return settingsPanel_;
}

// A radio group with its items side by side; each button's id is its item index, which is also
// the TabPosition it stands for.
QButtonGroup* TFusenDlg::addTabGroup(QBoxLayout* layout, const QString& objectName, const QString& caption,
                                     const QStringList& items)
{
    auto* box = new QGroupBox(caption, settingsPanel_);
    box->setObjectName(objectName);
    auto* buttons = new QButtonGroup(box);
    auto* columns = new QHBoxLayout(box);
    columns->setContentsMargins(6, 2, 6, 2);
    for (int index = 0; index < items.size(); ++index) {
        auto* button = new QRadioButton(items[index], box);
        buttons->addButton(button, index);
        columns->addWidget(button);
    }
    layout->addWidget(box);
    return buttons;
}

QColor TFusenDlg::BarFill() const
{
    return bar_ != nullptr ? bar_->Fill() : QColor();
}

QColor TFusenDlg::BarFrame() const
{
    return bar_ != nullptr ? bar_->Frame() : QColor();
}

int TFusenDlg::BarOutline() const
{
    return bar_ != nullptr ? bar_->Outline() : 0;
}

void TFusenDlg::SetBarColours(QColor fill, QColor frame)
{
    if (bar_ != nullptr) {
        bar_->SetFill(fill);
        bar_->SetFrame(frame);
    }
}

void TFusenDlg::SetColourChooser(ColourChooser chooser)
{
    chooseColour_ = std::move(chooser);
}

void TFusenDlg::HoverAt(QPoint panelPoint)
{
    if (bar_ == nullptr) {
        return;
    }
    const QRect frame = barFrame_->geometry();
    const bool over =
        StrictlyInside(panelPoint.x(), panelPoint.y(), frame.left(), frame.top(), frame.width(), frame.height());
    bar_->Resize(ColourBarSizeFor(over));
}

void TFusenDlg::chooseBarColourAt(QPoint barPoint)
{
    const bool fill = ColourBarPartAt(barPoint.x(), barPoint.y(), bar_->width(), bar_->height()) == ColourBarPart::Fill;
    const auto chosen = chooseColour_(fill ? bar_->Fill() : bar_->Frame(),
                                      fill ? QStringLiteral("進捗率の色を変更") : QStringLiteral("枠の色を変更"));
    if (!chosen) {
        return;
    }
    if (fill) {
        bar_->SetFill(*chosen);
    } else {
        bar_->SetFrame(*chosen);
    }
}

std::optional<Settings> EditSettings(QWidget* owner, const Settings& current)
{
    return EditSettings(owner, current, [](TFusenDlg& dialog) { dialog.exec(); });
}

std::optional<Settings> EditSettings(QWidget* owner, const Settings& current,
                                     const std::function<void(TFusenDlg&)>& interact)
{
    TFusenDlg dialog(owner, FusenLayout::Settings);
    Select(dialog.MainTabButtons(), current.MainTabPosition);
    Select(dialog.CategoryTabButtons(), current.CategoryTabPosition);
    dialog.CaseSensitiveBox()->setChecked(current.CaseSensitiveSearch);
    dialog.WeekStepBox()->setChecked(current.WeekStepSeven);
    dialog.RemindersBox()->setChecked(current.Reminders);
    dialog.SetBarColours(ColourOf(current.BarFillColor), ColourOf(current.BarFrameColor));
    dialog.setWindowTitle(QStringLiteral("設定"));
    if (const QScreen* screen = dialog.screen()) {
        dialog.move(screen->availableGeometry().center() - dialog.rect().center());
    }
    interact(dialog);
    if (dialog.result() != QDialog::Accepted) {
        return std::nullopt;
    }
    Settings edited = current;
    edited.MainTabPosition = SelectedIn(dialog.MainTabButtons(), current.MainTabPosition);
    edited.CategoryTabPosition = SelectedIn(dialog.CategoryTabButtons(), current.CategoryTabPosition);
    edited.CaseSensitiveSearch = dialog.CaseSensitiveBox()->isChecked();
    edited.WeekStepSeven = dialog.WeekStepBox()->isChecked();
    edited.Reminders = dialog.RemindersBox()->isChecked();
    edited.BarFillColor = BgrOf(dialog.BarFill());
    edited.BarFrameColor = BgrOf(dialog.BarFrame());
    return edited;
}

}  // namespace dolvane
