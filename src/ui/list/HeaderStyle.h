#pragma once

class QHeaderView;

namespace dolvane {

// The list's columns start narrow (50 pixels for "残り時間"): the header keeps only a pixel of
// margin beside each caption, so a caption as wide as its column still shows whole.
void UseNarrowHeaderMargins(QHeaderView* header);

}  // namespace dolvane
