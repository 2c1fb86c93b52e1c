#include "ui/widgets/JapaneseFont.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <QStringList>

namespace dolvane {
namespace {

// The desktop font the window's sizes were drawn for: 9 points, 12 pixels.
constexpr double kDesignDesktopPoints = 9.0;
constexpr double kDesignDesktopPixels = 12.0;

}  // namespace

int ScaledToDesktop(int designPixels)
{
    // The pixel height of the desktop font, measured, so its dots per inch count too.
    const double scale = QFontInfo(QGuiApplication::font()).pixelSize() / kDesignDesktopPixels;
    return scale > 1.0 ? qRound(designPixels * scale) : designPixels;
}

QFont JapaneseFont(int designPixels, bool bold)
{
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"),
                      QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP")});
    // Points, not pixels, so the desktop's dots per inch count as well as its font size.
    const QFont desktop = QGuiApplication::font();
    if (desktop.pointSizeF() > 0) {
        font.setPointSizeF(designPixels * 0.75 * desktop.pointSizeF() / kDesignDesktopPoints);
    } else {
        font.setPixelSize(qRound(designPixels * desktop.pixelSize() / kDesignDesktopPixels));
    }
    font.setBold(bold);
    return font;
}

}  // namespace dolvane
