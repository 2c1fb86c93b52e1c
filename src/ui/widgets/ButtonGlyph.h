#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>

class QStyle;

namespace dolvane {

// The main image list: the pictures the menus and buttons use, by index. The pictures come from
// the platform style, so they follow the desktop's icon theme; an index without a picture gives
// an empty icon and never breaks a menu.
QIcon ImageListIcon(const QStyle* style, int index);

// A 16 × 16 button picture: the square filled with `background`, with image `index` of the image
// list drawn over it when that index has one.
QPixmap MakeButtonGlyph(const QStyle* style, int index, const QColor& background);

}  // namespace dolvane
