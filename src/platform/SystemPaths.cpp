#include "platform/SystemPaths.h"

#include <QCoreApplication>
#include <QFile>

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
    return DeriveProgramPaths(ExecutableFolder(), CurrentUserName(), ProgramFilesFolder());
}

}  // namespace dolvane
