#pragma once
// Constants of the crystal computations in extended precision. Both carry more
// digits than the type holds, so each is the correctly rounded extended value.

namespace extended {
inline constexpr long double kDegree = 0.0174532925199432957692369076848861L;  // π/180
inline constexpr long double kTwoPi = 6.28318530717958647692528676655900577L;   // 2π
}  // namespace extended
