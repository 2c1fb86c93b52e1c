#pragma once

#include <cstdint>

namespace dolvane {

// Colours as 0x00BBGGRR values. Every text the program draws on a background of its own choosing
// gets a text colour of its own choosing too: a dark desktop palette has light text, which would
// vanish on the light fills below.
struct ColourPair {
    std::uint32_t background;
    std::uint32_t text;

    friend constexpr bool operator==(const ColourPair&, const ColourPair&) = default;
};

inline constexpr std::uint32_t kBlack = 0x000000;
inline constexpr std::uint32_t kWhite = 0xFFFFFF;
inline constexpr std::uint32_t kBlue = 0xFF0000;

// The bar above the list that names the view, and the warning period's preview in the panel.
inline constexpr ColourPair kCaptionBarColours{kWhite, kBlack};
inline constexpr ColourPair kWarningPreviewColours{kWhite, kBlack};
// The selected day's caption above the calendar's day list.
inline constexpr ColourPair kDayCaptionColours{0xF0F0F0, kBlue};
// Blue marks the selected tab's caption and the calendar mode button while they sit on the
// desktop's own background (see ReadableAccentOn).
inline constexpr std::uint32_t kAccentTextColour = kBlue;

// The WCAG contrast ratio of two colours: 1 (the same) to 21 (black and white).
double ContrastRatio(std::uint32_t first, std::uint32_t second) noexcept;

// Black or white, whichever stands out more on `background`.
std::uint32_t ReadableTextOn(std::uint32_t background) noexcept;

// `accent` where it stands out on `background` at least as well as large text needs (3:1), else
// ReadableTextOn: the blue of a selected tab stays blue on a light desktop and turns white on a
// dark one.
std::uint32_t ReadableAccentOn(std::uint32_t accent, std::uint32_t background) noexcept;

}  // namespace dolvane
