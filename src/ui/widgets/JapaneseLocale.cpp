#include "ui/widgets/JapaneseLocale.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <clocale>
#include <cstring>
#include <langinfo.h>

namespace dolvane {

void UseJapaneseLocale(QCoreApplication& application)
{
    // Xlib converts a window's title for WM_NAME in the C library's character type, but Qt hands
    // it UTF-8 whatever the locale: under POSIX (LANG unset, as in containers) a Japanese title
    // would reach the window manager as Latin-1 garbage. So the character type is UTF-8 too.
    if (std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0) {
        std::setlocale(LC_CTYPE, "C.UTF-8");
    }
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    QLocale::setDefault(japanese);
    // The translations come with the distribution's Qt; without them the texts stay English and
    // nothing else changes.
    auto* translator = new QTranslator(&application);
    if (translator->load(japanese, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator);
    } else {
        delete translator;
    }
}

}  // namespace dolvane
