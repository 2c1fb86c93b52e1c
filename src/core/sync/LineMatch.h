#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace dolvane {

// Pairs the to-do lines of the list now with their lines as last synced. `base` and `now` are
// whole lines without their line ends, each in file order. Result[i] is the index in `base` of
// now[i]'s earlier self, or nothing for a new line; each base index appears at most once (base
// lines that appear nowhere were deleted here).
//
// The passes, each only over lines no earlier pass paired:
//   1. Unchanged lines by their bytes wherever they moved (a sort reorders lines without editing
//      them); duplicates pair in order.
//   2. A run of changed lines between two paired neighbours with the unpaired base lines between
//      those neighbours' base places (the start and the end of the list count as neighbours).
//      Runs of the same length pair in order; otherwise lines with the same start or the same
//      task pair first, then the rest in order.
//   3. Lines with the same start and task anywhere (a sort and an edit of, say, the progress in
//      one go leave the line among other neighbours).
std::vector<std::optional<std::size_t>> MatchLines(std::span<const std::string> base, std::span<const std::string> now);

}  // namespace dolvane
