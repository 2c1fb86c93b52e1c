#include "ui/widgets/AccessibleComboBox.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>

namespace dolvane {
namespace {

// A drop-down named by its accessibleName (or a buddy label), its text as the value; without
// either name it is called by its text, as Qt's own drop-down is. Its line editor stays its child,
// and "show menu" opens the list.
class NamedComboBox final : public QAccessibleWidget {
public:
    explicit NamedComboBox(QComboBox* combo) : QAccessibleWidget(combo, QAccessible::ComboBox) {}

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value) {
            return Combo()->currentText();
        }
        const QString text = QAccessibleWidget::text(kind);
        return kind == QAccessible::Name && text.isEmpty() ? Combo()->currentText() : text;
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = Combo()->isEditable();
        state.expandable = true;
        state.expanded = Combo()->view()->isVisible();
        state.collapsed = !state.expanded;
        return state;
    }

    QStringList actionNames() const override { return QAccessibleWidget::actionNames() << showMenuAction(); }

    void doAction(const QString& action) override
    {
        if (action == showMenuAction()) {
            Combo()->showPopup();
        } else {
            QAccessibleWidget::doAction(action);
        }
    }

private:
    QComboBox* Combo() const { return static_cast<QComboBox*>(widget()); }
};

// Every drop-down: its interface is made (and kept) as soon as it becomes editable, before any
// name is given to it.
QAccessibleInterface* NamedComboBoxFactory(const QString& /*className*/, QObject* object)
{
    auto* combo = qobject_cast<QComboBox*>(object);
    return combo != nullptr ? new NamedComboBox(combo) : nullptr;
}

}  // namespace

void InstallAccessibleComboBoxes()
{
    // Factories installed later are asked first, so this one comes before Qt's own.
    QAccessible::installFactory(NamedComboBoxFactory);
}

}  // namespace dolvane
