#include "ui/widgets/JapaneseLocale.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <clocale>
#include <cstring>
#include <langinfo.h>

namespace dolvane {
namespace {

// Qt's own Japanese catalogue. Qt 6 asks for the kinds of files in the file dialog's list
// ("Folder", "%1 File") under a context of their own, which the distribution's catalogue does not
// have yet; it has the same texts under the file dialog's context, so they are looked up there.
class QtJapaneseTranslator final : public QTranslator {
public:
    explicit QtJapaneseTranslator(QObject* parent) : QTranslator(parent) {}

    bool Load(const QLocale& japanese)
    {
        return qtbase_.load(japanese, QStringLiteral("qtbase"), QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    }

    QString translate(const char* context, const char* sourceText, const char* disambiguation, int n) const override
    {
        if (qstrcmp(context, "QAbstractFileIconProvider") == 0) {
            return qtbase_.translate("QFileDialog", sourceText, nullptr, n);
        }
        return qtbase_.translate(context, sourceText, disambiguation, n);
    }
    bool isEmpty() const override { return qtbase_.isEmpty(); }

private:
    QTranslator qtbase_;
};

}  // namespace

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
    auto* translator = new QtJapaneseTranslator(&application);
    if (translator->Load(japanese)) {
        QCoreApplication::installTranslator(translator);
    } else {
        delete translator;
    }
}

}  // namespace dolvane
