#pragma once

#include <QFont>

namespace dolvane {

// The window's Japanese font, `designPixels` high on a desktop with the usual 9-point font (12
// pixels at 96 dots per inch) and in proportion to the desktop's font otherwise, so a user who set
// a larger desktop font gets larger texts here too. The classic Windows face comes first; where it
// is not installed the next installed CJK face takes over, so kana and kanji always render.
QFont JapaneseFont(int designPixels, bool bold = false);

// A fixed size of the window's layout (pixels on the usual desktop) for the desktop's font: larger
// by as much as the desktop's font is larger, so bigger texts still fit; never smaller.
int ScaledToDesktop(int designPixels);

}  // namespace dolvane
