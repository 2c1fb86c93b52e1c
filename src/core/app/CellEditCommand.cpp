#include "core/app/CellEditCommand.h"

#include "core/edit/CellEdit.h"
#include "core/store/FieldValidation.h"
#include "core/text/Cp932Codec.h"

namespace dolvane {

CellEditCommand::CellEditCommand(ToDoDocument& document, PanelCommands& panel, const ListCommands& list,
                                 Prompts& prompts)
    : document_(document),
      prompts_(prompts),
      panel_(panel),
      list_(list)
{
}

bool CellEditCommand::EditClickedCell()
{
    return EditColumn(list_.ClickedColumn());
}

bool CellEditCommand::EditColumn(int listColumn)
{
    ToDoRecord* row = document_.FirstSelected();
    const auto column = CellEditColumnFor(listColumn);
    if (row == nullptr || !column) {
        return false;
    }
    CellEditRequest request;
    request.column = listColumn;
    request.kind = column->kind;
    request.label = " " + Utf8ToCp932(column->label);
    request.value = row->Text(column->field);
    request.pickerCaption = Utf8ToCp932(column->pickerCaption);
    request.now = document_.Now();
    switch (column->items) {
    case CellItems::Importance:
        request.items = ImportanceItems();
        break;
    case CellItems::Executors:
        request.items = document_.Executors().Items();
        break;
    case CellItems::Categories:
        request.items = document_.Categories().Items();
        break;
    case CellItems::None:
        break;
    }

    std::optional<std::string> result = prompts_.EditCell(request);
    if (!result) {
        return false;
    }
    // The same check as the panel's: a text the list file cannot hold in this field would read
    // back as another to-do.
    if (const auto problem = FieldError(column->field, *result)) {
        prompts_.ShowError(*problem);
        return false;
    }
    WriteCellResult(*row, column->field, std::move(*result));
    panel_.ShowSelectedRow();
    document_.MarkChanged(false);
    document_.Notify(&MainWindowObserver::RowsChanged);
    document_.Notify(&MainWindowObserver::StoreStateChanged);
    return true;
}

}  // namespace dolvane
