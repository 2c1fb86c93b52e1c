#include "ui/widgets/TabRow.h"

#include <QPainter>
#include <QStyleOptionTab>
#include <QStylePainter>

namespace dolvane {
namespace {

// The characters of a caption, a surrogate pair counting as one.
QStringList Characters(const QString& caption)
{
    QStringList characters;
    for (int i = 0; i < caption.size(); ++i) {
        const int length = caption.at(i).isHighSurrogate() && i + 1 < caption.size() ? 2 : 1;
        characters << caption.mid(i, length);
        i += length - 1;
    }
    return characters;
}

}  // namespace

TabRow::TabRow(QWidget* parent) : QTabBar(parent)
{
    setDrawBase(false);
    setExpanding(false);
}

bool TabRow::Vertical() const
{
    return shape() == QTabBar::RoundedWest || shape() == QTabBar::RoundedEast;
}

QSize TabRow::tabSizeHint(int index) const
{
    if (!Vertical()) {
        const QSize size = QTabBar::tabSizeHint(index);
        return {size.width() + 8, size.height()};
    }
    const QFontMetrics metrics = fontMetrics();
    int width = 0;
    const QStringList characters = Characters(tabText(index));
    for (const QString& character : characters) {
        width = std::max(width, metrics.horizontalAdvance(character));
    }
    return {width + 16, static_cast<int>(characters.size()) * (metrics.height() + 1) + 12};
}

void TabRow::paintEvent(QPaintEvent* /*event*/)
{
    QStylePainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    for (int index = 0; index < count(); ++index) {
        QStyleOptionTab option;
        initStyleOption(&option, index);
        const QString caption = option.text;
        option.text.clear();  // the frame from the style, the caption from us
        painter.drawControl(QStyle::CE_TabBarTab, option);

        const QRect tab = tabRect(index);
        const bool selected = index == currentIndex();
        painter.setPen(!isTabEnabled(index) ? palette().color(QPalette::Disabled, QPalette::WindowText)
                       : selected           ? QColor(0, 0, 255)
                                            : palette().color(QPalette::WindowText));
        if (!Vertical()) {
            const bool bottom = shape() == QTabBar::RoundedSouth;
            const int x = tab.left() + (selected ? 8 : 4);
            const int y = tab.top() + (selected ? 5 : (bottom ? 0 : 3));
            painter.drawText(x, y + metrics.ascent(), caption);
            continue;
        }
        // One character per line, each centred on the tab; unselected tabs sit 4 pixels away from
        // the page.
        const int shift = selected ? 0 : (shape() == QTabBar::RoundedWest ? 4 : -4);
        int y = tab.top() + (selected ? 5 : 3);
        for (const QString& character : Characters(caption)) {
            const int x = tab.left() + tab.width() / 2 - metrics.horizontalAdvance(character) / 2 + shift;
            painter.drawText(x, y + metrics.ascent(), character);
            y += metrics.height() + 1;
        }
    }
}

}  // namespace dolvane
