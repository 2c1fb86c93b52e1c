#include "ui/widgets/ButtonGlyph.h"

#include <QPainter>
#include <QStyle>

#include <array>
#include <optional>

namespace dolvane {
namespace {

constexpr int kGlyphSize = 16;

// Image list index → a standard picture of the style with the same meaning.
std::optional<QStyle::StandardPixmap> StandardPixmapFor(int index)
{
    switch (index) {
    case 0:
        return QStyle::SP_TrashIcon;  // delete
    case 1:
        return QStyle::SP_ArrowBack;  // undo
    case 5:
        return QStyle::SP_DialogSaveButton;  // CSV export
    case 6:
        return QStyle::SP_FileDialogListView;  // select all
    case 14:
        return QStyle::SP_FileDialogNewFolder;  // inherit-new
    default:
        return std::nullopt;
    }
}

// The date reference has no standard picture that reads as "pick a date": a small calendar
// sheet, drawn here, with a red binding strip and a grid of days.
QIcon CalendarSheetIcon()
{
    QPixmap sheet(kGlyphSize, kGlyphSize);
    sheet.fill(Qt::transparent);
    QPainter painter(&sheet);
    painter.setPen(QColor(0x40, 0x40, 0x40));
    painter.setBrush(Qt::white);
    painter.drawRect(1, 2, 13, 12);
    painter.fillRect(2, 3, 12, 3, QColor(0xD0, 0x30, 0x30));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x40, 0x40, 0x40));
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 4; ++column) {
            painter.drawRect(3 + column * 3, 8 + row * 3, 2, 2);
        }
    }
    painter.setPen(QColor(0x40, 0x40, 0x40));
    painter.drawLine(4, 1, 4, 3);
    painter.drawLine(11, 1, 11, 3);
    painter.end();
    return QIcon(sheet);
}

}  // namespace

QIcon ImageListIcon(const QStyle* style, int index)
{
    if (index == 12) {
        return CalendarSheetIcon();
    }
    const auto pixmap = StandardPixmapFor(index);
    return pixmap && style != nullptr ? style->standardIcon(*pixmap) : QIcon();
}

QPixmap MakeButtonGlyph(const QStyle* style, int index, const QColor& background)
{
    QPixmap glyph(kGlyphSize, kGlyphSize);
    glyph.fill(background);
    const QIcon icon = ImageListIcon(style, index);
    if (!icon.isNull()) {
        QPainter painter(&glyph);
        icon.paint(&painter, 0, 0, kGlyphSize, kGlyphSize);
    }
    return glyph;
}

}  // namespace dolvane
