#pragma once

#include "core/view/ReadableColours.h"

#include <QColor>

#include <cstdint>

class QWidget;

namespace dolvane {

// A colour of the settings and of core's tables (0x00BBGGRR) as Qt's colour, and back.
QColor ColourOf(std::uint32_t bgr);
std::uint32_t BgrOf(const QColor& colour);

// Fills the widget with the pair's background and writes on it in the pair's text colour, in
// every colour group, whatever the desktop's palette.
void SetFixedColours(QWidget* widget, ColourPair colours);

}  // namespace dolvane
