#pragma once

#include <QList>
#include <QRect>
#include <QTabBar>

class QStylePainter;

namespace dolvane {

// A row of tabs that draws its own captions: the selected one in blue and set off a little, and
// on a row along the left or right edge one character per line, top to bottom. When the tabs do
// not fit they wrap onto further lines (further columns on a left or right row) instead of
// scrolling, so every caption stays whole and in reach.
//
// The row lays its tabs out itself: QTabBar's own tabRect() and tabAt() know only one line, use
// TabArea() and TabAreaAt(). It never changes the current tab by itself either: a click or an
// arrow key asks with tabRequested() (the wheel does nothing), and whoever decides sets the current
// index when the change goes ahead, so a refused change has nothing to undo.
class TabRow final : public QTabBar {
    Q_OBJECT

public:
    explicit TabRow(QWidget* parent = nullptr);

    bool Vertical() const;
    // Where a tab is drawn and clicked, in the row's own coordinates; an empty rectangle for none.
    QRect TabArea(int index) const;
    // The tab at a point of the row, or -1.
    int TabAreaAt(const QPoint& point) const;
    // How many lines (columns on a vertical row) the tabs take at the row's present size.
    int LineCount() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;

Q_SIGNALS:
    // The user chose tab `index`, which is not the current one.
    void tabRequested(int index);

protected:
    QSize tabSizeHint(int index) const override;
    void tabLayoutChange() override;
    void tabInserted(int index) override;
    void tabRemoved(int index) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    struct Layout {
        QList<QRect> areas;  // by tab index
        int lines = 0;
        int lineExtent = 0;  // the height of a line, or the width of a column on a vertical row
    };
    // The tabs laid out along a row `length` pixels long (the width, or the height when vertical).
    Layout LayOut(int length) const;
    int Length() const;  // the row's width, or its height when vertical
    int Across() const;  // the lines' total height (width when vertical) at the present length
    void KeepSizePolicy();
    void ShowFocusPolicy();
    void PaintTab(QStylePainter& painter, const Layout& layout, int index);
    void RequestTab(int index);
    void SetHovered(int index);

    int lines_ = 0;  // the line count at the last size, to notice when the row must grow or shrink
    int hovered_ = -1;
};

}  // namespace dolvane
