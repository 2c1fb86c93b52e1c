#include "ui/dialogs/MessagePrompts.h"

#include "ui/dialogs/TFusenDlg.h"
#include "ui/dialogs/TInputDlg.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QString>

namespace dolvane {
namespace {

QString FromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// "ToDoファイル(*.tod)|*.tod" → "ToDoファイル(*.tod)": the caption already names the pattern in
// the form Qt reads.
QString QtFilter(std::string_view filter)
{
    return FromUtf8(filter.substr(0, filter.find('|')));
}

std::optional<std::filesystem::path> ChosenFile(QFileDialog& dialog)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return std::filesystem::path(QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString());
}

}  // namespace

bool MessagePrompts::AskYesNo(std::string_view caption, std::string_view text, Preselect preselect)
{
    QMessageBox box(QMessageBox::Question, FromUtf8(caption), FromUtf8(text), QMessageBox::Yes | QMessageBox::No,
                    owner_);
    box.setDefaultButton(preselect == Preselect::No ? QMessageBox::No : QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void MessagePrompts::ShowMessage(std::string_view text)
{
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), FromUtf8(text), QMessageBox::Ok, owner_);
    box.exec();
}

void MessagePrompts::ShowError(std::string_view text)
{
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), FromUtf8(text), QMessageBox::Ok, owner_);
    box.exec();
}

std::optional<Settings> MessagePrompts::EditSettings(const Settings& current)
{
    return dolvane::EditSettings(owner_, current);
}

std::optional<StickyNoteFields> MessagePrompts::ChooseStickyNoteFields()
{
    return dolvane::ChooseStickyNoteFields(owner_);
}

std::optional<std::filesystem::path> MessagePrompts::ChooseFileToOpen(std::string_view filter)
{
    QFileDialog dialog(owner_, QString(), QString(), QtFilter(filter));
    dialog.setObjectName(QStringLiteral("OpenDialog1"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return ChosenFile(dialog);
}

std::optional<std::filesystem::path> MessagePrompts::ChooseFileToSave(std::string_view defaultExtension,
                                                                      std::string_view filter)
{
    QFileDialog dialog(owner_, QString(), QString(), QtFilter(filter));
    dialog.setObjectName(QStringLiteral("SaveDialog1"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(FromUtf8(defaultExtension));
    return ChosenFile(dialog);
}

std::optional<std::string> MessagePrompts::EditCell(const CellEditRequest& request)
{
    return dolvane::EditCell(owner_, request);
}

}  // namespace dolvane
