#include "platform/SingleInstance.h"
#include "ui/MainWindow.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const QString title = QStringLiteral("Dolvane");
    QApplication::setApplicationName(title);

    // A second start leaves quietly: the first instance keeps the user's list.
    dolvane::SingleInstance instance(title);
    if (!instance.TryAcquire()) {
        return 0;
    }

    dolvane::TVelkDolvane window;
    window.show();
    return QApplication::exec();
}
