#pragma once

class QLabel;
class QWidget;

namespace dolvane {

// The sunken white box beside the warning hours that shows them as days ("StaticText1"), with
// its hint; the panel and the cell edit dialog size and place it.
QLabel* MakeWarningPreview(QWidget* parent);

}  // namespace dolvane
