#include "platform/SystemPaths.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace dolvane {

std::filesystem::path ExecutableFolder()
{
    // encodeName gives the bytes the file system holds, so a folder such as "Ｖｅｌｋ/ピマロ"
    // survives whatever the process's locale is.
    const QByteArray folder = QFile::encodeName(QCoreApplication::applicationDirPath());
    return {std::string(folder.constData(), static_cast<std::size_t>(folder.size()))};
}

ProgramPaths CurrentProgramPaths()
{
    ProgramPaths paths = DeriveProgramPaths(ExecutableFolder(), CurrentUserName(), ProgramFilesFolder());
    const QByteArray name = QFile::encodeName(QFileInfo(QCoreApplication::applicationFilePath()).fileName());
    paths.ExecutableName = std::string(name.constData(), static_cast<std::size_t>(name.size()));
    return paths;
}

}  // namespace dolvane
