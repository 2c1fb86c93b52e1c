#include "ui/widgets/WarningPreview.h"

#include "ui/widgets/Colours.h"
#include "ui/widgets/Hints.h"

#include <QLabel>

namespace dolvane {

QLabel* MakeWarningPreview(QWidget* parent)
{
    auto* preview = new QLabel(parent);
    preview->setObjectName(QStringLiteral("StaticText1"));
    SetHint(preview, QStringLiteral("時間を日にち等で表示"));
    preview->setFrameShape(QFrame::Panel);
    preview->setFrameShadow(QFrame::Sunken);
    SetFixedColours(preview, kWarningPreviewColours);
    return preview;
}

}  // namespace dolvane
