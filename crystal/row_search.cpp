#include "crystal/row_search.hpp"

namespace {

using u128 = unsigned __int128;

// The smallest x ≥ 0 with l ≤ (a·x) mod m ≤ r, for 0 ≤ l ≤ r < m.
std::uint64_t FirstInRange(std::uint64_t a, std::uint64_t m, std::uint64_t l, std::uint64_t r)
{
    if (l == 0)
        return 0;
    a %= m;
    if (a == 0)
        return kNoSolution;
    // Before the first wrap-around the values are a, 2a, …; the first one at
    // or above l may already lie in the range.
    const std::uint64_t x = l / a + (l % a != 0);
    if (static_cast<u128>(a) * x <= r)
        return x;
    // Otherwise no multiple of a lies in [l, r], and a·x − m·y ∈ [l, r] asks
    // for (m·y) mod a in [−r mod a, −l mod a]: the same problem with the
    // smaller modulus a. The smallest such y gives the smallest x.
    const std::uint64_t y = FirstInRange(m % a, a, a - r % a, a - l % a);
    if (y == kNoSolution)
        return kNoSolution;
    const u128 wrapped = static_cast<u128>(m) * y + l;
    return static_cast<std::uint64_t>(wrapped / a + (wrapped % a != 0));
}

}  // namespace

std::uint64_t FirstInWindow(std::uint64_t a, std::uint64_t b, std::uint64_t m, std::uint64_t d)
{
    if (b <= d)
        return 0;
    // (a·x + b) mod m ≤ d means (a·x) mod m ∈ [m − b, m − b + d], which does
    // not wrap around because b > d.
    return FirstInRange(a, m, m - b, m - b + d);
}
