#pragma once

namespace dolvane {

// Lets a drop-down that was given an accessible name be read out by that name. On Linux Qt names
// a drop-down by its current text and leaves the caption to a QLabel buddy's relation; the
// panel's drop-downs are captioned by their include boxes, which cannot be buddies, so a screen
// reader would call the importance field "0". Call once, after the QApplication is made.
void InstallAccessibleComboBoxes();

}  // namespace dolvane
