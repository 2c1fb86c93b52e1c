#include "ui/widgets/Colours.h"

#include <QPalette>
#include <QWidget>

namespace dolvane {

QColor ColourOf(std::uint32_t bgr)
{
    return {static_cast<int>(bgr & 0xFFU), static_cast<int>((bgr >> 8U) & 0xFFU),
            static_cast<int>((bgr >> 16U) & 0xFFU)};
}

std::uint32_t BgrOf(const QColor& colour)
{
    return static_cast<std::uint32_t>(colour.red()) | (static_cast<std::uint32_t>(colour.green()) << 8U) |
           (static_cast<std::uint32_t>(colour.blue()) << 16U);
}

void SetFixedColours(QWidget* widget, ColourPair colours)
{
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, ColourOf(colours.background));
    palette.setColor(QPalette::WindowText, ColourOf(colours.text));
    widget->setPalette(palette);
}

}  // namespace dolvane
