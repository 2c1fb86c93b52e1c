#include "ui/dialogs/MessagePrompts.h"

#include "ui/dialogs/TFusenDlg.h"
#include "ui/dialogs/TInputDlg.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>

namespace dolvane {
namespace {

QString FromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

bool MessagePrompts::AskYesNo(std::string_view caption, std::string_view text)
{
    QMessageBox box(QMessageBox::Question, FromUtf8(caption), FromUtf8(text), QMessageBox::Yes | QMessageBox::No,
                    owner_);
    box.setDefaultButton(QMessageBox::Yes);
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

std::optional<std::string> MessagePrompts::EditCell(const CellEditRequest& request)
{
    return dolvane::EditCell(owner_, request);
}

}  // namespace dolvane
