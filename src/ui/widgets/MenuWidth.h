#pragma once

class QMenu;

namespace dolvane {

// Fusion gives a menu item's picture column a share of the item's height that the menu's size
// hint does not count, so with a large font every text was cut in the middle ("検…)"). The menu
// opens wider by a line's height, enough for that share at any font size.
void KeepMenuTextsWhole(QMenu* menu);

}  // namespace dolvane
