#include "ui/dialogs/DialogButtons.h"

#include <QDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>

namespace dolvane {

QWidget* OkCancelStrip(QDialog* dialog, const QString& objectName)
{
    auto* strip = new QFrame(dialog);
    strip->setObjectName(objectName);
    auto* okButton = new QPushButton(QStringLiteral("OK"), strip);
    okButton->setObjectName(QStringLiteral("OKBtn"));
    okButton->setDefault(true);
    auto* cancelButton = new QPushButton(QStringLiteral("キャンセル"), strip);
    cancelButton->setObjectName(QStringLiteral("CancelBtn"));
    QObject::connect(okButton, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancelButton, &QPushButton::clicked, dialog, &QDialog::reject);
    auto* layout = new QHBoxLayout(strip);
    layout->addStretch();
    layout->addWidget(okButton);
    layout->addWidget(cancelButton);
    return strip;
}

}  // namespace dolvane
