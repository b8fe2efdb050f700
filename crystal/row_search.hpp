#pragma once
// Integer search behind the enumeration's jumps over empty rows.

#include <cstdint>

inline constexpr std::uint64_t kNoSolution = UINT64_MAX;

// The smallest x ≥ 0 with (a·x + b) mod m ≤ d, or kNoSolution if there is
// none. Requires 0 < m ≤ 2^62, a < m, b < m and d < m. It takes O(log m)
// steps, like Euclid's algorithm, however large x is.
std::uint64_t FirstInWindow(std::uint64_t a, std::uint64_t b, std::uint64_t m, std::uint64_t d);
