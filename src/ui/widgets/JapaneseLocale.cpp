#include "ui/widgets/JapaneseLocale.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace dolvane {
namespace {

// Qt 6 asks for the kinds of files in the file dialog's list ("Folder", "%1 File") under a context
// of their own, which the distribution's Japanese catalogue does not have yet; it has the same
// texts under the file dialog's context, so they are looked up there.
class FileKindTranslator final : public QTranslator {
public:
    FileKindTranslator(const QTranslator& qtbase, QObject* parent) : QTranslator(parent), qtbase_(qtbase) {}

    QString translate(const char* context, const char* sourceText, const char* /*disambiguation*/, int n) const override
    {
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0) {
            return {};
        }
        return qtbase_.translate("QFileDialog", sourceText, nullptr, n);
    }
    bool isEmpty() const override { return false; }

private:
    const QTranslator& qtbase_;
};

}  // namespace

void UseJapaneseLocale(QCoreApplication& application)
{
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    QLocale::setDefault(japanese);
    // The translations come with the distribution's Qt; without them the texts stay English and
    // nothing else changes.
    auto* translator = new QTranslator(&application);
    if (translator->load(japanese, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator);
        QCoreApplication::installTranslator(new FileKindTranslator(*translator, &application));
    } else {
        delete translator;
    }
}

}  // namespace dolvane
