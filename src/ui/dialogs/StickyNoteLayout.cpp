// The sticky-note layout of TFusenDlg: which fields of each selected to-do go into its note.
#include "core/ports/Prompts.h"
#include "ui/dialogs/TFusenDlg.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace dolvane {

QWidget* TFusenDlg::createStickyNotePanel()
{
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel4"));
    auto* layout = new QVBoxLayout(panel);
    auto* label = new QLabel(QStringLiteral("付箋のToDoに加える項目をチェックする"), panel);
    label->setObjectName(QStringLiteral("Label1"));
    layout->addWidget(label);
    const QString captions[] = {QStringLiteral("重要度"), QStringLiteral("実行者"), QStringLiteral("分類"),
                                QStringLiteral("進捗"), QStringLiteral("すべきことは一行目だけ加える")};
    for (std::size_t i = 0; i < noteBoxes_.size(); ++i) {
        auto* box = new QCheckBox(captions[i], panel);
        box->setObjectName(QStringLiteral("CheckBox%1").arg(i + 1));
        layout->addWidget(box);
        noteBoxes_[i] = box;
    }
    noteBoxes_.back()->setChecked(true);
    return panel;
}

QCheckBox* TFusenDlg::StickyNoteBox(int number) const
{
    return number >= 1 && number <= static_cast<int>(noteBoxes_.size())
               ? noteBoxes_[static_cast<std::size_t>(number - 1)]
               : nullptr;
}

std::optional<StickyNoteFields> ChooseStickyNoteFields(QWidget* owner)
{
    return ChooseStickyNoteFields(owner, [](TFusenDlg& dialog) { dialog.exec(); });
}

std::optional<StickyNoteFields> ChooseStickyNoteFields(QWidget* owner, const std::function<void(TFusenDlg&)>& interact)
{
    // Made anew for each use, so it always opens with its defaults.
    TFusenDlg dialog(owner, FusenLayout::StickyNote);
    dialog.adjustSize();
    if (const QScreen* screen = dialog.screen()) {
        dialog.move(screen->availableGeometry().center() - dialog.rect().center());
    }
    interact(dialog);
    if (dialog.result() != QDialog::Accepted) {
        return std::nullopt;
    }
    StickyNoteFields fields;
    fields.importance = dialog.StickyNoteBox(1)->isChecked();
    fields.executor = dialog.StickyNoteBox(2)->isChecked();
    fields.category = dialog.StickyNoteBox(3)->isChecked();
    fields.progress = dialog.StickyNoteBox(4)->isChecked();
    fields.firstLineOnly = dialog.StickyNoteBox(5)->isChecked();
    return fields;
}

}  // namespace dolvane
