#pragma once

namespace dolvane {

// Stands in for a desktop theme where none is installed (a test machine, a bare X server), so the
// window can be seen as a user of a dark theme or of a large desktop font sees it. Reads
// DOLVANE_DESKTOP_LOOK, a comma-separated list of "dark" (the Fusion style with a dark palette)
// and "<n>pt" (a desktop font of n points); unset, nothing changes. Call it before the first window.
void ApplyDesktopLookFromEnvironment();

}  // namespace dolvane
