// Runs the widget tests inside one QApplication. Test discovery runs this binary at build time
// without the test environment, so it picks a display-free platform by itself.
#include "ui/widgets/AccessibleComboBox.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Qt wants a private runtime folder and warns on every start without one (as root, for instance).
    std::optional<QTemporaryDir> runtimeFolder;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        runtimeFolder.emplace();
        QFile::setPermissions(runtimeFolder->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeFolder->path()));
    }
    ::testing::InitGoogleTest(&argc, argv);
    const QApplication app(argc, argv);
    dolvane::InstallAccessibleComboBoxes();
    return RUN_ALL_TESTS();
}
