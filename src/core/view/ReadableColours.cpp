#include "core/view/ReadableColours.h"

#include <algorithm>
#include <cmath>

namespace dolvane {
namespace {

// sRGB channel (0-255) to linear light.
double Linear(std::uint32_t channel) noexcept
{
    const double c = static_cast<double>(channel & 0xFFU) / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(std::uint32_t bgr) noexcept
{
    return 0.2126 * Linear(bgr) + 0.7152 * Linear(bgr >> 8U) + 0.0722 * Linear(bgr >> 16U);
}

}  // namespace

double ContrastRatio(std::uint32_t first, std::uint32_t second) noexcept
{
    const double a = Luminance(first);
    const double b = Luminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

std::uint32_t ReadableTextOn(std::uint32_t background) noexcept
{
    return ContrastRatio(kBlack, background) >= ContrastRatio(kWhite, background) ? kBlack : kWhite;
}

std::uint32_t ReadableAccentOn(std::uint32_t accent, std::uint32_t background) noexcept
{
    constexpr double kLargeTextContrast = 3.0;
    return ContrastRatio(accent, background) >= kLargeTextContrast ? accent : ReadableTextOn(background);
}

}  // namespace dolvane
