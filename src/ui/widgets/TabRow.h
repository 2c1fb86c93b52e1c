#pragma once

#include <QTabBar>

namespace dolvane {

// A row of tabs that draws its own captions: the selected one in blue and set off a little, and
// on a row along the left or right edge one character per line, top to bottom.
class TabRow final : public QTabBar {
    Q_OBJECT

public:
    explicit TabRow(QWidget* parent = nullptr);

    bool Vertical() const;

protected:
    QSize tabSizeHint(int index) const override;
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace dolvane
