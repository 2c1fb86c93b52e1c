#pragma once

#include <QFont>

namespace dolvane {

// The window's Japanese font at a pixel height. The classic Windows face comes first; where it
// is not installed the next installed CJK face takes over, so kana and kanji always render.
QFont JapaneseFont(int pixelSize, bool bold = false);

}  // namespace dolvane
