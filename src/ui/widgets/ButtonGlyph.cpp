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
    case 12:
        return QStyle::SP_FileDialogInfoView;  // date reference
    case 14:
        return QStyle::SP_FileDialogNewFolder;  // inherit-new
    default:
        return std::nullopt;
    }
}

}  // namespace

QIcon ImageListIcon(const QStyle* style, int index)
{
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
