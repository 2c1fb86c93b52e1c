#include "ui/widgets/Cp932Text.h"

#include "core/text/Cp932Codec.h"

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
        return EncodeCp932(withBreaks.toStdU16String());
    } catch (const Cp932Error&) {
        return std::nullopt;
    }
}

}  // namespace dolvane
