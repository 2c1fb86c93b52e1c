#include "ui/widgets/Cp932Text.h"

#include "core/text/Cp932Codec.h"
#include "core/text/TypedText.h"

#include <QApplication>
#include <QMessageBox>

namespace dolvane {

QString FromCp932(std::string_view cp932)
{
    QString text = QString::fromStdU16String(DecodeCp932ForDisplay(cp932));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

std::optional<std::string> ToCp932(const QString& text)
{
    QString withBreaks = text;
    withBreaks.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    withBreaks.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    try {
        return EncodeCp932(StorableTypedText(withBreaks.toStdU16String()));
    } catch (const Cp932Error&) {
        return std::nullopt;
    }
}

bool ShowsCp932(const QString& shown, std::string_view cp932)
{
    return shown == FromCp932(cp932) || ToCp932(shown) == cp932;
}

QString UnstorableCharacter(const QString& text)
{
    return QString::fromStdU16String(FirstUnstorableCharacter(text.toStdU16String()));
}

bool ConfirmStorable(QWidget* owner, const QString& text)
{
    const QString character = UnstorableCharacter(text);
    if (character.isEmpty()) {
        return true;
    }
    QMessageBox::warning(owner, QApplication::applicationName(),
                         QString::fromStdString(UnstorableCharacterMessage(character.toStdString())));
    return false;
}

}  // namespace dolvane
