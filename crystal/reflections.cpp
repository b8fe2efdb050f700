#include "crystal/reflections.hpp"

#include "core/checked_arithmetic.hpp"
#include "core/run_errors.hpp"
#include "crystal/amplitude_kernel.hpp"
#include "crystal/extended_constants.hpp"
#include "crystal/row_search.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

using extended::kDegree;
using extended::kTwoPi;

// One of the three panels: the outer index runs along the axis of length
// outerLength, which makes the angle `angle` with the inner (horizontal) axis.
struct Plane {
    float outerLength;
    float innerLength;
    float angle;  // degrees
    float centreX, centreY;
    int fixedIndexPosition;  // 0, 1 or 2: which Miller index the layer index takes
};

// The Miller indices of pair (inner, outer) in a plane whose fixed index sits
// at `fixed`: hk· → (i, o, L), h·l → (i, L, o), ·kl → (L, i, o).
void MillerIndices(int fixed, std::int32_t layer, std::int32_t inner, std::int32_t outer, std::int32_t hkl[3])
{
    switch (fixed) {
    case 2: hkl[0] = inner; hkl[1] = outer; hkl[2] = layer; break;
    case 1: hkl[0] = inner; hkl[1] = layer; hkl[2] = outer; break;
    default: hkl[0] = layer; hkl[1] = inner; hkl[2] = outer; break;
    }
}

// The plane's angle and lengths in extended precision, and its index bounds.
struct PlaneFrame {
    long double sinPhi, cosPhi;
    long double innerLength, outerLength;
    std::int32_t innerBound, outerBound;
};

PlaneFrame FramePlane(const Plane& plane, const RunSettings& settings)
{
    PlaneFrame frame;
    const long double radians = kDegree * plane.angle;
    frame.sinPhi = std::sin(radians);
    frame.cosPhi = std::cos(radians);
    frame.innerLength = plane.innerLength;
    frame.outerLength = plane.outerLength;
    // Line i of the plane lies |i|·L·sin φ from the origin, so no index beyond
    // SMax / (L·sin φ) can reach the circle. Rounding instead of truncating may
    // admit one line too many, which the limit test then rejects.
    frame.innerBound = RoundToInt32(CheckedDivide(settings.SMax, frame.sinPhi * frame.innerLength));
    frame.outerBound = RoundToInt32(CheckedDivide(settings.SMax, frame.sinPhi * frame.outerLength));
    return frame;
}

// Stores each amplitude as its point is found.
struct AmplitudeNow {
    const AtomSites& sites;
    AmplitudeFunction amplitude;
    void operator()(ReflectionList& list, std::int32_t index, const std::int32_t hkl[3]) const
    {
        list.Amplitude[static_cast<std::size_t>(index)] = amplitude(sites, hkl[0], hkl[1], hkl[2]);
    }
};

// Keeps the Miller indices; the amplitudes follow in one pass at the end.
struct AmplitudeLater {
    std::int32_t hkl[kMaxReflections][3];
    void operator()(ReflectionList&, std::int32_t index, const std::int32_t hkl3[3])
    {
        CheckIndex(index, kMaxReflections);
        for (int m = 0; m < 3; ++m)
            hkl[index][m] = hkl3[m];
    }
};

// Stores the point at plane coordinates (x, y) of pair (inner, outer); true
// once the list is full, which nothing after it could change.
template <class Amplitudes>
bool StorePoint(const Plane& plane, float scale, const RunSettings& settings, float x, float y, std::int64_t inner,
                std::int64_t outer, ReflectionList& list, Amplitudes& amplitudes)
{
    const std::int32_t pixelX = RoundToInt32(static_cast<long double>(x) * scale + plane.centreX);
    const std::int32_t rowFromBottom = RoundToInt32(static_cast<long double>(y) * scale + plane.centreY);
    const std::int32_t pixelY = NarrowToInt32(static_cast<std::int64_t>(settings.PictureHeight) - rowFromBottom);

    const std::int32_t index = list.ReflectionCount;
    CheckIndex(index, kReflectionSlots);
    std::int32_t hkl[3];
    MillerIndices(plane.fixedIndexPosition, settings.LayerIndex, static_cast<std::int32_t>(inner),
                  static_cast<std::int32_t>(outer), hkl);
    amplitudes(list, index, hkl);
    list.PixelX[static_cast<std::size_t>(index)] = pixelX;
    list.PixelY[static_cast<std::size_t>(index)] = pixelY;
    list.ReflectionCount = index + 1;
    return list.ReflectionCount >= kMaxReflections;
}

// Every index pair within the bounds, in order.
template <class Amplitudes>
void VisitEveryPair(const Plane& plane, const PlaneFrame& frame, float scale, const RunSettings& settings,
                    ReflectionList& list, Amplitudes& amplitudes)
{
    // 64-bit counters: a bound of 2^31 − 1 would overflow a 32-bit loop variable
    // on its last increment.
    for (std::int64_t o = -static_cast<std::int64_t>(frame.outerBound); o <= frame.outerBound; ++o) {
        for (std::int64_t i = -static_cast<std::int64_t>(frame.innerBound); i <= frame.innerBound; ++i) {
            if (settings.LayerIndex == 0 && i == 0 && o == 0)
                continue;  // 000 is the undiffracted beam, not a reflection

            // The plane coordinates are stored as singles before anything uses
            // them: the limit test and the pixel position both see the rounded values.
            const float x = StoreSingle(frame.cosPhi * (o * frame.outerLength) + i * frame.innerLength);
            const float y = StoreSingle(frame.sinPhi * (o * frame.outerLength));

            // Extended squares against the single SMaxSquared: a point exactly on
            // the circle stays, and (±4, 0) at spacing 0.1 with SMax 0.4 stays
            // because 0.4f·0.4f rounds up to 0.16000001.
            const long double x2 = static_cast<long double>(x) * x;
            const long double y2 = static_cast<long double>(y) * y;
            if (x2 + y2 > settings.SMaxSquared)
                continue;

            if (StorePoint(plane, scale, settings, x, y, i, o, list, amplitudes))
                return;
        }
    }
}

// The smallest magnitude that single precision rounds to infinity: where
// StoreSingle raises "Gleitkommaüberlauf".
constexpr long double kSingleOverflow = 0x1.ffffffp127L;

bool OverflowsSingle(long double value)
{
    return std::fabs(value) >= kSingleOverflow;
}

// The enumeration of one plane that visits, row by row, only the inner
// indices that can pass the limit test, and only the rows that hold such
// indices. It stores the same points in the same order as VisitEveryPair and
// raises the same errors at the same point of that order.
//
// Every skip rests on a bound that holds for the exact, rounded coordinates:
// a point passes only if |y| ≤ √SMaxSquared·(1 + 2^-22) and its extended x,
// before rounding to single, lies within the row's half-chord widened for
// that rounding. The indices are then widened by whole indices for the
// rounding of the bound itself, and every candidate still meets the exact test.
class RowWalk {
public:
    RowWalk(const Plane& plane, const PlaneFrame& frame, float scale, const RunSettings& settings, ReflectionList& list,
            AmplitudeLater& amplitudes)
        : plane_(plane), frame_(frame), scale_(scale), settings_(settings), list_(list), amplitudes_(amplitudes),
          limit_(settings.SMaxSquared), innerBound_(frame.innerBound), outerBound_(frame.outerBound)
    {
    }

    void Run()
    {
        FindOverflow();
        // A negative limit keeps nothing: x² + y² is never below 0.
        if (limit_ >= 0) {
            rootLimit_ = std::sqrt(limit_);
            reachMax_ = (rootLimit_ + rootLimit_ * 0x1p-30L) * (1 + 0x1p-20L);
            inverseInner_ = 1 / frame_.innerLength;
            if (Rows())
                return;  // full before any overflow
        }
        if (overflowRow_ <= outerBound_)
            throw RunTimeError(error_text::kFloatOverflow);
    }

private:
    // The first pair, in the enumeration's order, whose x or y single
    // precision cannot hold. The enumeration reaches it unless the list fills
    // first. Each row's x is monotonic in i, and every row's y and end points
    // are monotonic in o, so the rows that overflow anywhere form a prefix and
    // a suffix of the outer range, and a row's overflowing pairs a prefix and
    // a suffix of the inner range.
    void FindOverflow()
    {
        const long double rowStep = std::fabs(frame_.outerLength);
        const long double maxY = std::fabs(frame_.sinPhi) * outerBound_ * rowStep;
        const long double maxX = std::fabs(frame_.cosPhi) * outerBound_ * rowStep
                                 + innerBound_ * std::fabs(frame_.innerLength);
        if (maxX < 0x1p126L && maxY < 0x1p126L)
            return;  // no pair comes near the single range
        std::int64_t o = -outerBound_;
        if (!RowOverflows(o)) {
            if (!RowOverflows(outerBound_))
                return;
            std::int64_t clear = o, overflowing = outerBound_;  // the overflowing rows form a suffix
            while (overflowing - clear > 1) {
                const std::int64_t middle = clear + (overflowing - clear) / 2;
                (RowOverflows(middle) ? overflowing : clear) = middle;
            }
            o = overflowing;
        }
        overflowRow_ = o;
        const long double a = frame_.cosPhi * (o * frame_.outerLength);
        if (OverflowsSingle(frame_.sinPhi * (o * frame_.outerLength))
            || OverflowsSingle(a + -innerBound_ * frame_.innerLength)) {
            overflowColumn_ = -innerBound_;
            return;
        }
        std::int64_t clear = -innerBound_, overflowing = innerBound_;
        while (overflowing - clear > 1) {
            const std::int64_t middle = clear + (overflowing - clear) / 2;
            (OverflowsSingle(a + middle * frame_.innerLength) ? overflowing : clear) = middle;
        }
        overflowColumn_ = overflowing;
    }

    bool RowOverflows(std::int64_t o) const
    {
        const long double a = frame_.cosPhi * (o * frame_.outerLength);
        return OverflowsSingle(frame_.sinPhi * (o * frame_.outerLength))
               || OverflowsSingle(a + -innerBound_ * frame_.innerLength)
               || OverflowsSingle(a + innerBound_ * frame_.innerLength);
    }

    // The rows that can hold a passing point; true once the list is full.
    bool Rows()
    {
        std::int64_t reach = outerBound_;
        // Row o lies at |o·L_o·sin φ| from the axis.
        const long double rowStep = std::fabs(frame_.sinPhi * frame_.outerLength);
        const long double yRows = rootLimit_ * (1 + 0x1p-20L) / rowStep * (1 + 0x1p-60L);
        if (yRows < reach)
            reach = static_cast<std::int64_t>(std::floor(yRows)) + 2;
        // Row o is shifted by o·L_o·cos φ, and its inner indices reach only
        // N_i·|L_i| either way.
        const long double rowShift = std::fabs(frame_.cosPhi * frame_.outerLength);
        if (rowShift > 0) {
            const long double xRows =
                (innerBound_ * std::fabs(frame_.innerLength) + reachMax_) / rowShift * (1 + 0x1p-60L);
            if (xRows < reach)
                reach = static_cast<std::int64_t>(std::floor(xRows)) + 2;
        }
        if (reach > outerBound_)
            reach = outerBound_;
        const std::int64_t first = -reach;
        const std::int64_t last = overflowRow_ < reach ? overflowRow_ : reach;
        rowStep_ = rowStep;

        // Bands of rows whose lengths double away from the circle's edges, so
        // that a band's widest chord is at most about √2 times its narrowest:
        // near the top and bottom of the circle, where the chords are short,
        // rows are sparse even when the inner spacing is not.
        for (std::int64_t o = first; o <= last;) {
            std::int64_t end;
            if (o < 0) {
                const std::int64_t fromEdge = o + reach;
                end = std::min<std::int64_t>(-1, o + std::max<std::int64_t>(63, fromEdge));
            } else {
                const std::int64_t toEdge = reach - o;
                end = o + std::max<std::int64_t>(63, toEdge / 2);
            }
            end = std::min(end, last);
            if (Band(o, end))
                return true;
            o = end + 1;
        }
        return false;
    }

    // Rows first to last (same sign of o, or the single row 0); true once the
    // list is full.
    bool Band(std::int64_t first, std::int64_t last)
    {
        if (last - first >= 8) {
            // No row of the band lies nearer the axis than the one with the
            // smallest |o|, so none has a longer chord.
            const std::int64_t nearest = first > 0 ? first : last < 0 ? -last : 0;
            const long double y = nearest * rowStep_ * (1 - 0x1p-20L);
            const long double room = limit_ - y * y;
            const long double reach =
                (std::sqrt(room > 0 ? room : 0) + rootLimit_ * 0x1p-30L) * (1 + 0x1p-20L);
            if (SetWindow(reach, first, last))
                return WalkAndJump(first, last);
        }
        for (std::int64_t o = first; o <= last; ++o)
            if (Row(o))
                return true;
        return false;
    }

    // Where the chords are shorter than the inner spacing, rows can hold no
    // candidate at all: row o has one only if o·L_o·cos φ / L_i lies within
    // reach / |L_i| of an integer. With θ = L_o·cos φ / L_i in 62-bit fixed
    // point, the next such row is the first x with (T·x + B) mod 2^62 in a
    // window, which FirstInWindow finds in O(log) steps. False where every row
    // has a candidate.
    bool SetWindow(long double reach, std::int64_t first, std::int64_t last)
    {
        const long double theta = frame_.cosPhi * frame_.outerLength * inverseInner_;
        const long double farthest = static_cast<long double>(last > -first ? last : -first);
        // The window's half width in units of the inner spacing, widened by
        // the rounding of o·θ (of A(o) in the enumeration, of θ, and of its
        // fixed-point form) over the farthest row.
        const long double half = reach * std::fabs(inverseInner_) * (1 + 0x1p-40L)
                                 + farthest * (std::fabs(theta) + 1) * 0x1p-60L + 0x1p-60L;
        if (!(half < 0.49L))
            return false;
        const long double fraction = theta - std::floor(theta);
        theta62_ = static_cast<std::uint64_t>(std::nearbyint(std::ldexp(fraction, 62))) & (kModulus - 1);
        halfWindow62_ = static_cast<std::uint64_t>(std::ceil(std::ldexp(half, 62))) + 1;
        return true;
    }

    // (T·o + W) mod 2^62: at most 2W in the rows with a candidate. Two's
    // complement takes care of a negative o.
    std::uint64_t WindowOffset(std::int64_t o) const
    {
        const unsigned __int128 product =
            static_cast<unsigned __int128>(static_cast<__int128>(o) * static_cast<__int128>(theta62_));
        return static_cast<std::uint64_t>(product + halfWindow62_) & (kModulus - 1);
    }

    // Walks on from each row that stored a point. From a row that stored
    // none it skips ahead: within a run of rows whose candidate lies in the
    // same column, to the first row where that column can reach the circle;
    // past the run, to the next row with a candidate. Both skips take O(log)
    // steps, so the work follows the rows that hold points.
    bool WalkAndJump(std::int64_t first, std::int64_t last)
    {
        bool search = true;
        for (std::int64_t o = first; o <= last; ++o) {
            if (search) {
                const std::uint64_t step = FirstInWindow(theta62_, WindowOffset(o), kModulus, 2 * halfWindow62_);
                if (step == kNoSolution || step > static_cast<std::uint64_t>(last - o))
                    return false;
                o += static_cast<std::int64_t>(step);
            }
            const std::int32_t before = list_.ReflectionCount;
            if (Row(o))
                return true;
            search = false;
            if (list_.ReflectionCount == before) {
                const std::int64_t next = NextReachingRow(o, last, search);
                if (next > last)
                    return false;
                o = next - 1;
            }
        }
        return false;
    }

    // After row o, which stored nothing: the next row that may store a point
    // of the column whose candidate row o holds, if that comes before the end
    // of the column's run of rows in the window; else the run's end, with
    // `search` set. No other column has a candidate within the run: the
    // window is narrower than one column spacing.
    std::int64_t NextReachingRow(std::int64_t o, std::int64_t last, bool& search)
    {
        search = true;
        const std::uint64_t offset = WindowOffset(o);
        if (offset > 2 * halfWindow62_)
            return o + 1;  // no candidate at all; search from the next row
        const long double a = frame_.cosPhi * (o * frame_.outerLength);
        const long double column = std::nearbyint(-a * inverseInner_);
        const bool inBounds = std::fabs(column) <= innerBound_;
        const std::int64_t i = inBounds ? static_cast<std::int64_t>(column) : 0;
        if (inBounds && o < last && Outside(o + 1, i) <= 0) {
            search = false;
            return o + 1;  // the column still reaches the next row's chord
        }
        // The run ends at the first row out of the window.
        const std::uint64_t outside = 2 * halfWindow62_ + 1;
        const std::uint64_t leave = FirstInWindow(theta62_, (offset - outside) & (kModulus - 1), kModulus,
                                                  kModulus - 1 - outside);
        const std::int64_t end = leave == kNoSolution || leave > static_cast<std::uint64_t>(last - o)
                                     ? last + 1
                                     : o + static_cast<std::int64_t>(leave);
        if (!inBounds || end - o < 2)
            return end;

        // Along a column, |x| grows linearly and the half-chord is concave,
        // so their difference is convex in o: find its least value, and the
        // first row before it that may pass.
        std::int64_t low = o + 1, high = end - 1;
        while (high - low > 2) {
            const std::int64_t m1 = low + (high - low) / 3;
            const std::int64_t m2 = high - (high - low) / 3;
            if (Outside(m1, i) <= Outside(m2, i))
                high = m2;  // equal values leave the least one between them
            else
                low = m1;
        }
        std::int64_t best = low;
        for (std::int64_t m = low + 1; m <= high; ++m)
            if (Outside(m, i) < Outside(best, i))
                best = m;
        if (Outside(best, i) > 0)
            return end;
        search = false;
        std::int64_t clear = o + 1, reaching = best;  // Outside(o + 1, i) > 0 from above
        while (reaching - clear > 1) {
            const std::int64_t middle = clear + (reaching - clear) / 2;
            (Outside(middle, i) <= 0 ? reaching : clear) = middle;
        }
        return reaching;
    }

    // How far the point of row o and column i lies outside the row's
    // half-chord, widened as in Row: where it can pass, this is at most 0.
    long double Outside(std::int64_t o, std::int64_t i) const
    {
        // The row may be the one whose y overflows, which Row never reaches.
        const long double yExtended = frame_.sinPhi * (o * frame_.outerLength);
        if (OverflowsSingle(yExtended))
            return std::numeric_limits<long double>::infinity();
        const float y = static_cast<float>(yExtended);
        const long double y2 = static_cast<long double>(y) * y;
        if (y2 > limit_)
            return std::numeric_limits<long double>::infinity();
        const long double reach = (std::sqrt(limit_ - y2) + rootLimit_ * 0x1p-30L) * (1 + 0x1p-20L);
        return std::fabs(frame_.cosPhi * (o * frame_.outerLength) + i * frame_.innerLength) - reach;
    }

    // The candidates of row o; true once the list is full.
    bool Row(std::int64_t o)
    {
        const std::int64_t lastInner = o == overflowRow_ ? overflowColumn_ - 1 : innerBound_;
        if (lastInner < -innerBound_)
            return false;
        // Nothing before the overflowing pair overflows, so these never raise.
        const float y = StoreSingle(frame_.sinPhi * (o * frame_.outerLength));
        const long double y2 = static_cast<long double>(y) * y;
        if (y2 > limit_)
            return false;  // x² + y² rounds to at least y²: the whole row fails
        const long double a = frame_.cosPhi * (o * frame_.outerLength);

        // The half-chord, with room for the rounding of the limit test, of
        // x to single and of the square root; then in units of L_i about the
        // inner index that puts the point on the axis.
        const long double reach = (std::sqrt(limit_ - y2) + rootLimit_ * 0x1p-30L) * (1 + 0x1p-20L);
        const long double centre = -a * inverseInner_;
        const long double half = reach * std::fabs(inverseInner_);
        const long double slack = 1 + (std::fabs(centre) + half) * 0x1p-60L;
        const long double low = centre - half - slack;
        const long double high = centre + half + slack;
        if (high < -innerBound_ || low > lastInner)
            return false;
        // Both lie within the inner bounds here; truncation then a step
        // outward is floor and ceiling without a library call.
        std::int64_t firstInner = -innerBound_;
        if (low > -innerBound_) {
            firstInner = static_cast<std::int64_t>(low);
            firstInner -= firstInner > low;
        }
        std::int64_t endInner = lastInner;
        if (high < lastInner) {
            endInner = static_cast<std::int64_t>(high);
            endInner += endInner < high;
        }

        for (std::int64_t i = firstInner; i <= endInner; ++i) {
            if (settings_.LayerIndex == 0 && i == 0 && o == 0)
                continue;
            const float x = StoreSingle(a + i * frame_.innerLength);
            const long double x2 = static_cast<long double>(x) * x;
            if (x2 + y2 > settings_.SMaxSquared)
                continue;
            if (StorePoint(plane_, scale_, settings_, x, y, i, o, list_, amplitudes_))
                return true;
        }
        return false;
    }

    static constexpr std::uint64_t kModulus = std::uint64_t{1} << 62;

    const Plane& plane_;
    const PlaneFrame& frame_;
    const float scale_;
    const RunSettings& settings_;
    ReflectionList& list_;
    AmplitudeLater& amplitudes_;
    const long double limit_;
    const std::int64_t innerBound_, outerBound_;
    long double rootLimit_ = 0, reachMax_ = 0, inverseInner_ = 0, rowStep_ = 0;
    std::int64_t overflowRow_ = INT64_MAX, overflowColumn_ = 0;  // none: past every row
    std::uint64_t theta62_ = 0, halfWindow62_ = 0;
};

void CollectPlane(const Plane& plane, float scale, const RunSettings& settings, ReflectionList& list,
                  AmplitudeLater& amplitudes)
{
    const PlaneFrame frame = FramePlane(plane, settings);
    if (list.ReflectionCount >= kMaxReflections)
        return;
    if (frame.innerBound < 0 || frame.outerBound < 0)
        return;  // an empty loop
    if (!std::isfinite(settings.SMaxSquared)) {
        // Every pair passes a limit of infinity (or one that is not a
        // number), so the literal order fills the list within 2995 pairs.
        VisitEveryPair(plane, frame, scale, settings, list, amplitudes);
        return;
    }
    RowWalk(plane, frame, scale, settings, list, amplitudes).Run();
}

// The amplitudes of the stored reflections, in list order. Where the kernel
// stops, the reference takes that reflection, raising its error with the list
// holding what the reference would have stored before it.
void ComputeAmplitudes(const AtomSites& sites, const AmplitudeLater& amplitudes, ReflectionList& list)
{
    const std::int32_t count = list.ReflectionCount;
    std::int32_t done = 0;
    while (done < count) {
        done += amplitude_kernel::StructureAmplitudes(sites, amplitudes.hkl + done, count - done,
                                                      list.Amplitude.data() + done);
        if (done < count) {
            list.ReflectionCount = done;
            const std::int32_t* hkl = amplitudes.hkl[done];
            list.Amplitude[static_cast<std::size_t>(done)] = StructureAmplitudeReference(sites, hkl[0], hkl[1], hkl[2]);
            ++done;
        }
    }
    list.ReflectionCount = count;
}

void Planes(const ReciprocalParameters& reciprocal, const PanelLayout& layout, Plane (&planes)[3])
{
    planes[0] = {reciprocal.BStar, reciprocal.AStar, reciprocal.GammaStar, layout.Centre1X, layout.Centre1Y, 2};
    planes[1] = {reciprocal.CStar, reciprocal.AStar, reciprocal.BetaStar, layout.Centre2X, layout.Centre2Y, 1};
    planes[2] = {reciprocal.CStar, reciprocal.BStar, reciprocal.AlphaStar, layout.Centre3X, layout.Centre3Y, 0};
}

}  // namespace

float StructureAmplitudeReference(const AtomSites& sites, std::int32_t h, std::int32_t k, std::int32_t l)
{
    CheckIndex(sites.SiteCount, kMaxSites + 1);
    // Indices beyond 2^24 lose their low bits here, as single-precision indices must.
    const long double hf = static_cast<float>(h);
    const long double kf = static_cast<float>(k);
    const long double lf = static_cast<float>(l);
    float c = 0;
    float s = 0;
    for (std::int32_t n = 0; n < sites.SiteCount; ++n) {
        const std::size_t i = static_cast<std::size_t>(n);
        // The phase is rounded to single before its cosine and sine are taken,
        // and each running sum is rounded to single after every site: the
        // extinct reflections' residues (1e-6 for halves, ~0.004 for the table's
        // three-decimal thirds) are what these roundings leave.
        const float t = StoreSingle(((hf * sites.SiteX[i] + kf * sites.SiteY[i]) + lf * sites.SiteZ[i]) * kTwoPi);
        c = StoreSingle(std::cos(static_cast<long double>(t)) + c);
        s = StoreSingle(std::sin(static_cast<long double>(t)) + s);
    }
    return StoreSingle(std::sqrt(static_cast<long double>(c) * c + static_cast<long double>(s) * s));
}

float StructureAmplitude(const AtomSites& sites, std::int32_t h, std::int32_t k, std::int32_t l)
{
    const std::int32_t hkl[1][3] = {{h, k, l}};
    float amplitude = 0;
    if (amplitude_kernel::StructureAmplitudes(sites, hkl, 1, &amplitude) == 1)
        return amplitude;
    return StructureAmplitudeReference(sites, h, k, l);
}

void CollectReflections(const RunSettings& settings, const ReciprocalParameters& reciprocal,
                        const PanelLayout& layout, const AtomSites& sites, ReflectionList& list)
{
    list.ReflectionCount = 0;
    Plane planes[3];
    Planes(reciprocal, layout, planes);
    AmplitudeLater amplitudes;
    try {
        // Every plane's bounds are still computed once the list is full: a bound
        // that faults ends the run whether or not its plane could add anything.
        for (const Plane& plane : planes)
            CollectPlane(plane, layout.Scale, settings, list, amplitudes);
    } catch (...) {
        // The reference would have computed the amplitudes stored so far
        // before reaching the fault, and one of them may raise first.
        ComputeAmplitudes(sites, amplitudes, list);
        throw;
    }
    ComputeAmplitudes(sites, amplitudes, list);
}

void CollectReflectionsReference(const RunSettings& settings, const ReciprocalParameters& reciprocal,
                                 const PanelLayout& layout, const AtomSites& sites, ReflectionList& list,
                                 AmplitudeFunction amplitude)
{
    list.ReflectionCount = 0;
    Plane planes[3];
    Planes(reciprocal, layout, planes);
    AmplitudeNow amplitudes{sites, amplitude};
    for (const Plane& plane : planes) {
        const PlaneFrame frame = FramePlane(plane, settings);
        if (list.ReflectionCount >= kMaxReflections)
            continue;
        VisitEveryPair(plane, frame, layout.Scale, settings, list, amplitudes);
    }
}
