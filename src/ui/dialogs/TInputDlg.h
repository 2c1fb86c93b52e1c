#pragma once

#include <QDialog>

// moc of Qt 6.4 cannot parse the C++20 library headers core pulls in; no signal or slot here
// uses these types.
#ifndef Q_MOC_RUN
#include "core/edit/CellEdit.h"

#include <functional>
#include <optional>
#include <string>
#endif

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QToolButton;

namespace dolvane {

class TNumberEdit;

// The cell edit dialog "編集": one editor for one cell, chosen by the column (a date with its
// picker button, a choice, the task text, the progress or the warning hours with their presets
// and preview).
class TInputDlg final : public QDialog {
    Q_OBJECT

public:
    TInputDlg(QWidget* owner, CellEditRequest request);

    // The edited text as the screen shows it; meaningful after OK.
    QString ResultText() const;

protected:
    void done(int result) override;

private:
    QWidget* createPanel(const char* name, const QString& caption);
    void createDatePanel();
    void createChoicePanel();
    void createTaskPanel();
    void createProgressPanel();
    void createWarningPanel();
    void createButtons();
    void nameEditor();
    void showWarningPreview();

    CellEditRequest request_;
    QLineEdit* dateEdit_ = nullptr;
    QComboBox* choiceCombo_ = nullptr;
    QPlainTextEdit* taskMemo_ = nullptr;
    TNumberEdit* progressEdit_ = nullptr;
    TNumberEdit* warningEdit_ = nullptr;
    QLabel* warningPreview_ = nullptr;
};

// Opens the dialog modally: the new cell text (cp932) on OK, nothing on Cancel. OK is refused,
// the user told, while the text holds a character cp932 cannot store. An unchanged text comes
// back as the cell's own bytes.
std::optional<std::string> EditCell(QWidget* owner, const CellEditRequest& request);

// The same with `interact` run in place of the modal loop; it ends by calling accept() or reject().
std::optional<std::string> EditCell(QWidget* owner, const CellEditRequest& request,
                                    const std::function<void(TInputDlg&)>& interact);

}  // namespace dolvane
