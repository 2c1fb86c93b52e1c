#include "ui/widgets/EditableCombo.h"

#include <QComboBox>
#include <QCompleter>

namespace dolvane {

QComboBox* MakeEditableCombo(const char* name, QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    // The combo looks a finished text up with the completer's case rule and, on a match, puts
    // the item's spelling in place of the user's.
    combo->completer()->setCaseSensitivity(Qt::CaseSensitive);
    return combo;
}

}  // namespace dolvane
