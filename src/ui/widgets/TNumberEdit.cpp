#include "ui/widgets/TNumberEdit.h"

namespace dolvane {
namespace {

// U+FF10..U+FF19 to "0".."9", one unit for one, so a cursor position stays valid.
QString AsciiDigits(QString text)
{
    for (QChar& c : text) {
        if (c >= QChar(0xFF10) && c <= QChar(0xFF19)) {
            c = QChar(u'0' + (c.unicode() - 0xFF10));
        }
    }
    return text;
}

}  // namespace

TNumberEdit::TNumberEdit(const char* name, int minimum, int maximum, QWidget* parent) : QSpinBox(parent)
{
    setObjectName(QString::fromLatin1(name));
    setRange(minimum, maximum);
    setAlignment(Qt::AlignRight);
    setInputMethodHints(Qt::ImhDigitsOnly | Qt::ImhPreferNumbers);
}

// The field's line edit puts the folded text in place of what arrived when it validates.
QValidator::State TNumberEdit::validate(QString& input, int& pos) const
{
    input = AsciiDigits(input);
    return QSpinBox::validate(input, pos);
}

int TNumberEdit::valueFromText(const QString& text) const
{
    return QSpinBox::valueFromText(AsciiDigits(text));
}

}  // namespace dolvane
