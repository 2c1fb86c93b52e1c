#include "ui/widgets/Hints.h"

#include <QCoreApplication>
#include <QHelpEvent>
#include <QHoverEvent>
#include <QSpinBox>
#include <QStatusTipEvent>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <QToolTip>

namespace dolvane {
namespace {

struct HintParts {
    QString tip;
    QString status;
};

HintParts Split(const QString& hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    if (bar < 0) {
        return {hint, hint};
    }
    return {hint.left(bar), hint.mid(bar + 1)};
}

// Chooses the field's or the arrows' hint by where the pointer is over the spin box.
class SpinHintFilter final : public QObject {
public:
    SpinHintFilter(QSpinBox* spin, const QString& fieldHint, const QString& arrowsHint)
        : QObject(spin),
          spin_(spin),
          field_(Split(fieldHint)),
          arrows_(Split(arrowsHint))
    {
        spin->setAttribute(Qt::WA_Hover);
        spin->setToolTip(field_.tip);
        spin->setStatusTip(field_.status);
        spin->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != spin_) {
            return false;
        }
        if (event->type() == QEvent::ToolTip) {
            auto* help = static_cast<QHelpEvent*>(event);
            QToolTip::showText(help->globalPos(), PartAt(help->pos()).tip, spin_);
            return true;
        }
        if (event->type() == QEvent::HoverMove || event->type() == QEvent::HoverEnter) {
            const QString status = PartAt(static_cast<QHoverEvent*>(event)->position().toPoint()).status;
            if (status != spin_->statusTip()) {
                spin_->setStatusTip(status);
                QStatusTipEvent tip(status);
                QCoreApplication::sendEvent(spin_, &tip);
            }
        }
        return false;
    }

private:
    const HintParts& PartAt(const QPoint& position) const
    {
        QStyleOptionSpinBox option;
        option.initFrom(spin_);
        option.subControls =
            QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown | QStyle::SC_SpinBoxFrame | QStyle::SC_SpinBoxEditField;
        option.buttonSymbols = spin_->buttonSymbols();
        option.frame = spin_->hasFrame();
        const QStyle::SubControl part =
            spin_->style()->hitTestComplexControl(QStyle::CC_SpinBox, &option, position, spin_);
        return part == QStyle::SC_SpinBoxUp || part == QStyle::SC_SpinBoxDown ? arrows_ : field_;
    }

    QSpinBox* spin_;
    HintParts field_;
    HintParts arrows_;
};

}  // namespace

void SetHint(QWidget* widget, const QString& hint)
{
    const HintParts parts = Split(hint);
    widget->setToolTip(parts.tip);
    widget->setStatusTip(parts.status);
}

void SetSpinHints(QSpinBox* spin, const QString& fieldHint, const QString& arrowsHint)
{
    new SpinHintFilter(spin, fieldHint, arrowsHint);
}

QString PickerButtonName(const QString& pickerCaption)
{
    const QString setting = QStringLiteral("の設定");
    return pickerCaption.endsWith(setting) ? pickerCaption.chopped(setting.size()) + QStringLiteral("を選ぶ")
                                           : pickerCaption;
}

}  // namespace dolvane
