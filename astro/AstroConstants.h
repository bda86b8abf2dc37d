// SPDX-License-Identifier: AGPL-3.0-or-later
// Constants of the chart arithmetic. They are used with exactly these decimal values (not the
// full-precision ones) so that every reading matches the published worked examples to the last digit.
#pragma once

// Fast-math lets the compiler reorder and approximate the arithmetic, and readings would then differ
// from one compiler and machine to another. The build refuses the flags too; this catches a build
// that adds them some other way.
#ifdef __FAST_MATH__
#error "The chart arithmetic must not be built with -ffast-math or -Ofast"
#endif

namespace astro {
inline constexpr double degreesToRadians = 0.0174532925199433;
inline constexpr double radiansToDegrees = 57.2957795130823;
inline constexpr double pi = 3.14159265358979;
inline constexpr double twoPi = 6.28318530717958;
} // namespace astro
