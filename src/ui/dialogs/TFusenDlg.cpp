#include "ui/dialogs/TFusenDlg.h"

#include "ui/dialogs/DialogButtons.h"

#include "core/edit/DatePick.h"
#include "core/time/DateTime.h"
#include "ui/widgets/Cp932Text.h"
#include "ui/widgets/JapaneseFont.h"

#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QDateEdit>
#include <QFrame>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimeEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace dolvane {
namespace {

constexpr int kPickerFontPixels = 16;
constexpr int kSettingsHeight = 297;

QDate DayOf(DateTime moment)
{
    const DateTimeParts parts = DecodeDateTime(moment);
    return {parts.year, parts.month, parts.day};
}

QTime TimeOfDayOf(DateTime moment)
{
    const DateTimeParts parts = DecodeDateTime(moment);
    return {parts.hour, parts.minute};
}

DateTime MomentOfDay(QDate day)
{
    DateTimeParts parts;
    parts.year = day.year();
    parts.month = day.month();
    parts.day = day.day();
    return EncodeDateTime(parts);
}

// A time of day on the zero day, as the time reader gives it.
DateTime MomentOfTime(QTime timeOfDay)
{
    DateTimeParts parts;
    parts.hour = timeOfDay.hour();
    parts.minute = timeOfDay.minute();
    return EncodeDateTime(parts);
}

}  // namespace

TFusenDlg::TFusenDlg(QWidget* owner, FusenLayout layout) : QDialog(owner)
{
    setObjectName(QStringLiteral("FusenDlg"));
    setWindowTitle(QStringLiteral("付箋の作成"));
    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(0);
    switch (layout) {
    case FusenLayout::Settings:
        rows->addWidget(createSettingsPanel());
        break;
    case FusenLayout::Picker:
        rows->addWidget(createPickerPanel());
        break;
    case FusenLayout::StickyNote:
        rows->addWidget(createStickyNotePanel());
        break;
    }
    rows->addWidget(OkCancelStrip(this, QStringLiteral("Panel2")));
    // The dialog has a fixed border: its size is what the contents ask for, except that the
    // settings layout keeps its own height and lets its panel take up the rest.
    if (layout == FusenLayout::Settings) {
        setFixedSize(sizeHint().width(), ScaledToDesktop(kSettingsHeight));
    } else {
        rows->setSizeConstraint(QLayout::SetFixedSize);
    }
    startHoverTimer();
}

void TFusenDlg::startHoverTimer()
{
    // It runs in every layout, though only the settings layout has a bar to open. The pointer is
    // polled rather than followed through mouse events, which the frame's child (the bar) and the
    // panel's other children would take for themselves.
    auto* timer = new QTimer(this);
    timer->setObjectName(QStringLiteral("Timer1"));
    timer->setInterval(500);
    connect(timer, &QTimer::timeout, this, [this] {
        if (settingsPanel_ != nullptr) {
            HoverAt(settingsPanel_->mapFromGlobal(QCursor::pos()));
        }
    });
    timer->start();
}

QWidget* TFusenDlg::createPickerPanel()
{
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel3"));
    datePicker_ = new QDateEdit(panel);
    datePicker_->setObjectName(QStringLiteral("DateTimePicker1"));
    datePicker_->setAccessibleName(QStringLiteral("日付"));
    datePicker_->setCalendarPopup(true);
    datePicker_->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    // Qt's own lower limit is 1752; a field may hold any year from 1 on.
    datePicker_->setMinimumDate(QDate(100, 1, 1));
    datePicker_->setFont(JapaneseFont(kPickerFontPixels, true));
    timePicker_ = new QTimeEdit(panel);
    timePicker_->setObjectName(QStringLiteral("DateTimePicker2"));
    timePicker_->setAccessibleName(QStringLiteral("時刻"));
    timePicker_->setDisplayFormat(QStringLiteral("HH:mm"));
    timePicker_->setFont(JapaneseFont(kPickerFontPixels, true));
    clearBox_ = new QCheckBox(QStringLiteral("設定日時をクリアする"), panel);
    clearBox_->setObjectName(QStringLiteral("CheckBox6"));

    auto* pickers = new QHBoxLayout;
    pickers->addWidget(datePicker_, 3);
    pickers->addWidget(timePicker_, 2);
    auto* layout = new QVBoxLayout(panel);
    layout->addLayout(pickers);
    layout->addWidget(clearBox_);
    return panel;
}

std::optional<std::string> PickDateTime(QWidget* owner, const std::string& fieldText, const QString& caption,
                                        DateTime now)
{
    return PickDateTime(owner, fieldText, caption, now, [](TFusenDlg& dialog) { dialog.exec(); });
}

std::optional<std::string> PickDateTime(QWidget* owner, const std::string& fieldText, const QString& caption,
                                        DateTime now, const std::function<void(TFusenDlg&)>& interact)
{
    PickStart start;
    try {
        start = PickerStartFor(fieldText, now);
    } catch (const ConvertError& error) {
        // The message quotes the field's text, which a hand-edited file may fill with bytes that
        // are not cp932; the display decoder never throws on them.
        QMessageBox::critical(owner, QApplication::applicationName(), FromCp932(error.Message()));
        return std::nullopt;
    }

    TFusenDlg dialog(owner, FusenLayout::Picker);
    dialog.ClearBox()->setVisible(PickerOffersClear(caption.toStdString()));
    dialog.setWindowTitle(caption);
    dialog.DatePicker()->setDate(DayOf(start.date));
    dialog.TimePicker()->setTime(TimeOfDayOf(start.time));
    dialog.adjustSize();
    if (const QScreen* screen = dialog.screen()) {
        dialog.move(screen->availableGeometry().center() - dialog.rect().center());
    }
    interact(dialog);
    if (dialog.result() != QDialog::Accepted) {
        return fieldText;
    }
    return PickedText(MomentOfDay(dialog.DatePicker()->date()), MomentOfTime(dialog.TimePicker()->time()),
                      dialog.ClearBox()->isChecked());
}

}  // namespace dolvane
