#include "ui/widgets/ButtonGlyph.h"

#include <QPainter>
#include <QPainterPath>
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

// The settings: a grey cog with a dark outline, which reads on light and dark menus alike.
void DrawCog(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath cog;
    constexpr int kTeeth = 8;
    const QPointF centre(8, 8);
    for (int tooth = 0; tooth < kTeeth; ++tooth) {
        QTransform turn;
        turn.translate(centre.x(), centre.y());
        turn.rotate(360.0 * tooth / kTeeth);
        cog.addPolygon(turn.map(QPolygonF(QRectF(-1.6, -7.5, 3.2, 4))));
    }
    cog.addEllipse(centre, 5.2, 5.2);
    cog = cog.simplified();
    QPainterPath hole;
    hole.addEllipse(centre, 2.2, 2.2);
    painter.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
    painter.setBrush(QColor(0xB8, 0xB8, 0xB8));
    painter.drawPath(cog.subtracted(hole));
}

// Pictures no style has: drawn here, 16 by 16 on a transparent ground.
std::optional<QPixmap> DrawnPictureFor(int index)
{
    if (index != 2 && index != 8 && index != 9 && index != 10) {
        return std::nullopt;
    }
    QPixmap picture(kGlyphSize, kGlyphSize);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    if (index == 10) {
        DrawCog(painter);
        return picture;
    }
    if (index == 2) {
        // A sticky note with its lower right corner turned up.
        const QPolygon note({QPoint(1, 1), QPoint(14, 1), QPoint(14, 10), QPoint(10, 14), QPoint(1, 14)});
        painter.setPen(QColor(0x9e, 0x86, 0x1f));
        painter.setBrush(QColor(0xff, 0xe8, 0x5c));
        painter.drawPolygon(note);
        painter.setBrush(QColor(0xe0, 0xc2, 0x3a));
        painter.drawPolygon(QPolygon({QPoint(14, 10), QPoint(10, 10), QPoint(10, 14)}));
        painter.setPen(QColor(0x9e, 0x86, 0x1f));
        painter.drawLine(3, 5, 11, 5);
        painter.drawLine(3, 8, 9, 8);
        return picture;
    }
    // The enclosing of CSV fields: a plain text when off, a text between double quotes when on.
    QFont font = painter.font();
    font.setPixelSize(index == 9 ? 11 : 10);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(index == 9 ? QColor(0x1f, 0x4e, 0x9e) : QColor(0x40, 0x40, 0x40));
    painter.drawText(picture.rect(), Qt::AlignCenter, index == 9 ? QStringLiteral("\"a\"") : QStringLiteral("abc"));
    return picture;
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
    return {sheet};
}

}  // namespace

QIcon ImageListIcon(const QStyle* style, int index)
{
    if (index == 12) {
        return CalendarSheetIcon();
    }
    if (const auto drawn = DrawnPictureFor(index)) {
        return {*drawn};
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
