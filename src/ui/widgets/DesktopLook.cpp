#include "ui/widgets/DesktopLook.h"

#include <QApplication>
#include <QFont>
#include <QPalette>
#include <QStyleFactory>

namespace dolvane {
namespace {

// The colours of a typical dark desktop theme.
QPalette DarkPalette()
{
    const QColor window(0x35, 0x35, 0x35);
    const QColor base(0x2A, 0x2A, 0x2A);
    const QColor text(0xF0, 0xF0, 0xF0);
    QPalette palette;
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, window);
    palette.setColor(QPalette::ToolTipBase, base);
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, window);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::BrightText, Qt::red);
    palette.setColor(QPalette::Link, QColor(0x6A, 0xB0, 0xFF));
    palette.setColor(QPalette::Highlight, QColor(0x2A, 0x82, 0xDA));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::PlaceholderText, QColor(0x90, 0x90, 0x90));
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(QPalette::Disabled, role, QColor(0x80, 0x80, 0x80));
    }
    return palette;
}

}  // namespace

void ApplyDesktopLookFromEnvironment()
{
    const QString look = qEnvironmentVariable("DOLVANE_DESKTOP_LOOK");
    for (const QString& item : look.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        if (item == QLatin1String("dark")) {
            QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
            QApplication::setPalette(DarkPalette());
        } else if (item.endsWith(QLatin1String("pt"))) {
            bool number = false;
            const double points = item.chopped(2).toDouble(&number);
            if (number && points > 0) {
                QFont font = QApplication::font();
                font.setPointSizeF(points);
                QApplication::setFont(font);
            }
        }
    }
}

}  // namespace dolvane
