#pragma once

class QComboBox;
class QWidget;

namespace dolvane {

// An editable drop-down whose text changes only when the user types or picks an item: Enter
// (also the one that confirms a kana conversion) adds no item, and completion matches case
// exactly, so leaving the field never turns a typed "abc" into a listed "ABC".
QComboBox* MakeEditableCombo(const char* name, QWidget* parent);

}  // namespace dolvane
