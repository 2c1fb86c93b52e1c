#include "platform/SystemPaths.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace dolvane {

ProgramPaths CurrentProgramPaths()
{
    ProgramPaths paths = DeriveProgramPaths(ExecutableFolder(), CurrentUserName(), ProgramFilesFolder());
    const QByteArray name = QFile::encodeName(QFileInfo(QCoreApplication::applicationFilePath()).fileName());
    paths.ExecutableName = std::string(name.constData(), static_cast<std::size_t>(name.size()));
    return paths;
}

}  // namespace dolvane
