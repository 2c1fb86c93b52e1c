#include "ui/MainWindow.h"

namespace dolvane {

TVelkDolvane::TVelkDolvane(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("VelkDolvane"));
    setWindowTitle(QStringLiteral("Dolvane"));
    resize(800, 600);
}

}  // namespace dolvane
