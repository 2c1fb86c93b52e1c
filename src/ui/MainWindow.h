#pragma once

#include <QMainWindow>

namespace dolvane {

// The main window. For now it only carries the program's title; the list, the editing panel,
// the tabs and the calendar are composed into it as they are built.
class TVelkDolvane final : public QMainWindow {
    Q_OBJECT

public:
    explicit TVelkDolvane(QWidget* parent = nullptr);
};

}  // namespace dolvane
