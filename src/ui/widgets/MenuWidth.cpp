#include "ui/widgets/MenuWidth.h"

#include <QMenu>

namespace dolvane {

void KeepMenuTextsWhole(QMenu* menu)
{
    QObject::connect(menu, &QMenu::aboutToShow, menu, [menu] {
        // Items may have changed since the last time (a hidden merge item, a longer hint).
        menu->setMinimumWidth(0);
        menu->setMinimumWidth(menu->sizeHint().width() + menu->fontMetrics().height());
    });
}

}  // namespace dolvane
