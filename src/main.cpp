#include "core/app/SettingsSession.h"
#include "platform/ConversionLibraryLoader.h"
#include "platform/DBusNotifier.h"
#include "platform/LocalClock.h"
#include "platform/MemoryRelease.h"
#include "platform/PosixFileSystem.h"
#include "platform/SiblingChannel.h"
#include "platform/SiblingSettingsStore.h"
#include "platform/SingleInstance.h"
#include "platform/SystemPaths.h"
#include "platform/TerminationRequest.h"
#include "sync/SyncServiceImpl.h"
#include "ui/MainWindow.h"
#include "ui/widgets/AccessibleComboBox.h"
#include "ui/widgets/DesktopLook.h"
#include "ui/widgets/JapaneseLocale.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char* argv[])
{
    dolvane::ReturnLargeBlocksWhenFreed();
    QApplication application(argc, argv);
    const QString title = QStringLiteral("Dolvane");
    QApplication::setApplicationName(title);
    QApplication::setApplicationVersion(QStringLiteral(DOLVANE_VERSION));
    dolvane::UseJapaneseLocale(application);
    dolvane::InstallAccessibleComboBoxes();
    dolvane::ApplyDesktopLookFromEnvironment();

    // A second start leaves quietly: the first instance keeps the user's list. When no lock can be
    // had at all, leaving quietly would look like a crash, so the user is told why.
    const dolvane::ProgramPaths paths = dolvane::CurrentProgramPaths();
    dolvane::SingleInstance instance(title, paths.ListFilePath, dolvane::CurrentUserHome());
    switch (instance.TryAcquire()) {
    case dolvane::SingleInstance::Outcome::Acquired:
        break;
    case dolvane::SingleInstance::Outcome::AlreadyRunning:
        return 0;
    case dolvane::SingleInstance::Outcome::CannotLock:
        QMessageBox::critical(nullptr, title, QStringLiteral("Dolvane を起動できません: %1").arg(instance.Problem()));
        return 1;
    }

    dolvane::LocalClock clock;
    dolvane::LocalSocketSibling sibling;
    dolvane::PosixFileSystem files;
    dolvane::SiblingSettingsStore siblingSettings;
    dolvane::DBusNotifier notifier;
    // The same pass as dolvane-cli sync, with the server set up in the program's state file.
    dolvane::SyncServiceImpl syncService(clock, dolvane::SettingsSession::StateFilePath(paths));
    dolvane::TVelkDolvane window(dolvane::MainWindowServices{paths, clock, sibling, files, &siblingSettings,
                                                             &dolvane::LoadConversionLibraryBesideExecutable, &notifier,
                                                             &syncService});
    QObject::connect(&notifier, &dolvane::DBusNotifier::activated, &window, &dolvane::TVelkDolvane::ShowNotifiedToDo);
    QObject::connect(&window, &dolvane::TVelkDolvane::closed, &application, &QApplication::quit);
    dolvane::TerminationRequest termination;
    QObject::connect(&termination, &dolvane::TerminationRequest::requested, &window, &QWidget::close);
    window.show();
    return QApplication::exec();
}
