#include "ui/widgets/TabRow.h"

#include "ui/widgets/Colours.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionTab>
#include <QStylePainter>
#include <QWheelEvent>

#include <algorithm>
#include <climits>

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
    // Tabs that do not fit wrap onto another line; QTabBar's scroll buttons and elided captions
    // belong to its own one-line layout, which this row does not use.
    setUsesScrollButtons(false);
    setElideMode(Qt::ElideNone);
    setMouseTracking(true);  // the tab under the pointer is highlighted
    KeepSizePolicy();
    ShowFocusPolicy();
}

void TabRow::ShowFocusPolicy()
{
    // An empty row (the category row on most main tabs) is no stop for Tab.
    setFocusPolicy(count() > 0 ? Qt::TabFocus : Qt::NoFocus);
}

void TabRow::tabInserted(int index)
{
    QTabBar::tabInserted(index);
    ShowFocusPolicy();
}

void TabRow::tabRemoved(int index)
{
    QTabBar::tabRemoved(index);
    ShowFocusPolicy();
}

void TabRow::KeepSizePolicy()
{
    // Across the row exactly the lines it needs: a horizontal row through heightForWidth(), a
    // vertical one through its hints, which follow the height it was given.
    QSizePolicy policy = Vertical() ? QSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred)
                                    : QSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(!Vertical());
    if (sizePolicy() != policy) {
        setSizePolicy(policy);
    }
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

TabRow::Layout TabRow::LayOut(int length) const
{
    const bool vertical = Vertical();
    Layout layout;
    QList<QSize> sizes;
    for (int index = 0; index < count(); ++index) {
        sizes << tabSizeHint(index);
        layout.lineExtent = std::max(layout.lineExtent, vertical ? sizes.back().width() : sizes.back().height());
    }
    // Lines run top to bottom (columns left to right), tabs in order along each; a tab longer
    // than the whole row gets a line of its own.
    int along = 0;
    int line = 0;
    for (const QSize& size : sizes) {
        const int extent = vertical ? size.height() : size.width();
        if (along > 0 && along + extent > length) {
            ++line;
            along = 0;
        }
        layout.areas << (vertical ? QRect(line * layout.lineExtent, along, layout.lineExtent, extent)
                                  : QRect(along, line * layout.lineExtent, extent, layout.lineExtent));
        along += extent;
    }
    layout.lines = sizes.isEmpty() ? 0 : line + 1;
    return layout;
}

int TabRow::Length() const
{
    return Vertical() ? height() : width();
}

QRect TabRow::TabArea(int index) const
{
    const Layout layout = LayOut(Length());
    return index >= 0 && index < layout.areas.size() ? layout.areas.at(index) : QRect();
}

int TabRow::TabAreaAt(const QPoint& point) const
{
    const Layout layout = LayOut(Length());
    for (int index = 0; index < layout.areas.size(); ++index) {
        if (layout.areas.at(index).contains(point)) {
            return index;
        }
    }
    return -1;
}

int TabRow::LineCount() const
{
    return LayOut(Length()).lines;
}

int TabRow::Across() const
{
    const Layout layout = LayOut(Length() > 0 ? Length() : INT_MAX);
    return layout.lines * layout.lineExtent;
}

QSize TabRow::sizeHint() const
{
    // Along the row the length of one line; across it as many lines as its present length needs.
    const Layout oneLine = LayOut(INT_MAX);
    const QRect last = oneLine.areas.isEmpty() ? QRect() : oneLine.areas.back();
    return Vertical() ? QSize(Across(), last.bottom() + 1) : QSize(last.right() + 1, Across());
}

QSize TabRow::minimumSizeHint() const
{
    // Along the row the longest tab, which then has a line of its own; across a horizontal row
    // one line, as heightForWidth() gives the rest.
    const Layout layout = LayOut(0);
    int longest = 0;
    for (const QRect& area : layout.areas) {
        longest = std::max(longest, Vertical() ? area.height() : area.width());
    }
    return Vertical() ? QSize(Across(), longest) : QSize(longest, layout.lines > 0 ? layout.lineExtent : 0);
}

bool TabRow::hasHeightForWidth() const
{
    return !Vertical();
}

int TabRow::heightForWidth(int width) const
{
    if (Vertical()) {
        return QTabBar::heightForWidth(width);
    }
    const Layout layout = LayOut(width);
    return layout.lines * layout.lineExtent;
}

void TabRow::resizeEvent(QResizeEvent* event)
{
    QTabBar::resizeEvent(event);
    // A vertical row gets its width from sizeHint(), which depends on the height it was given;
    // a horizontal one normally through heightForWidth(), but not inside every layout.
    KeepSizePolicy();
    const int lines = LineCount();
    if (lines != lines_) {
        lines_ = lines;
        updateGeometry();
    }
}

void TabRow::tabLayoutChange()
{
    QTabBar::tabLayoutChange();
    KeepSizePolicy();
    lines_ = LineCount();
    updateGeometry();
    update();
}

void TabRow::paintEvent(QPaintEvent* /*event*/)
{
    QStylePainter painter(this);
    const Layout layout = LayOut(Length());
    const int current = currentIndex();
    // The current tab last, so that its frame lies over its neighbours'.
    QList<int> order;
    for (int index = 0; index < count(); ++index) {
        if (index != current) {
            order << index;
        }
    }
    if (current >= 0 && current < count()) {
        order << current;
    }
    for (const int index : order) {
        PaintTab(painter, layout, index);
    }
}

void TabRow::PaintTab(QStylePainter& painter, const Layout& layout, int index)
{
    const QRect tab = layout.areas.at(index);
    const bool selected = index == currentIndex();
    const bool vertical = Vertical();
    const auto sameLine = [&](int other) {
        return other >= 0 && other < layout.areas.size() &&
               (vertical ? layout.areas.at(other).left() == tab.left() : layout.areas.at(other).top() == tab.top());
    };

    QStyleOptionTab option;
    initStyleOption(&option, index);
    const QString caption = option.text;
    option.text.clear();  // the frame from the style, the caption from us
    option.rect = tab;
    const bool first = !sameLine(index - 1);
    const bool last = !sameLine(index + 1);
    option.position = first && last ? QStyleOptionTab::OnlyOneTab
                      : first       ? QStyleOptionTab::Beginning
                      : last        ? QStyleOptionTab::End
                                    : QStyleOptionTab::Middle;
    option.selectedPosition =
        sameLine(currentIndex()) && currentIndex() == index - 1   ? QStyleOptionTab::PreviousIsSelected
        : sameLine(currentIndex()) && currentIndex() == index + 1 ? QStyleOptionTab::NextIsSelected
                                                                  : QStyleOptionTab::NotAdjacent;
    option.state.setFlag(QStyle::State_Selected, selected);
    option.state.setFlag(QStyle::State_MouseOver, index == hovered_ && isTabEnabled(index));
    // The style draws a selected tab reaching out towards the page, over whatever lies there; with
    // several lines that is another line's tab.
    painter.save();
    painter.setClipRect(tab);
    painter.drawControl(QStyle::CE_TabBarTab, option);
    painter.restore();

    const QFontMetrics metrics = fontMetrics();
    painter.setPen(!isTabEnabled(index) ? palette().color(QPalette::Disabled, QPalette::WindowText)
                   : selected ? ColourOf(ReadableAccentOn(kAccentTextColour, BgrOf(palette().color(QPalette::Button))))
                              : palette().color(QPalette::WindowText));
    if (!vertical) {
        const bool bottom = shape() == QTabBar::RoundedSouth;
        const int x = tab.left() + (selected ? 8 : 4);
        const int y = tab.top() + (selected ? 5 : (bottom ? 0 : 3));
        painter.drawText(x, y + metrics.ascent(), caption);
        return;
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

void TabRow::RequestTab(int index)
{
    if (index >= 0 && index < count() && index != currentIndex() && isTabEnabled(index)) {
        Q_EMIT tabRequested(index);
    }
}

void TabRow::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        RequestTab(TabAreaAt(event->position().toPoint()));
    }
    event->accept();
}

void TabRow::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
}

void TabRow::mouseMoveEvent(QMouseEvent* event)
{
    SetHovered(TabAreaAt(event->position().toPoint()));
}

void TabRow::leaveEvent(QEvent* event)
{
    QTabBar::leaveEvent(event);
    SetHovered(-1);
}

void TabRow::SetHovered(int index)
{
    if (index != hovered_) {
        hovered_ = index;
        update();
    }
}

void TabRow::keyPressEvent(QKeyEvent* event)
{
    int step = 0;
    if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Up) {
        step = -1;
    } else if (event->key() == Qt::Key_Right || event->key() == Qt::Key_Down) {
        step = 1;
    } else {
        event->ignore();
        return;
    }
    for (int index = currentIndex() + step; index >= 0 && index < count(); index += step) {
        if (isTabEnabled(index)) {
            RequestTab(index);
            break;
        }
    }
}

void TabRow::wheelEvent(QWheelEvent* event)
{
    // The wheel scrolls whatever lies under the tabs, never switches the view.
    event->ignore();
}

}  // namespace dolvane
