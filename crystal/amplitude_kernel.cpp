#include "crystal/amplitude_kernel.hpp"

#include "core/checked_arithmetic.hpp"
#include "crystal/extended_constants.hpp"

#include <cmath>
#include <cstring>

// The vector types below are wider than the baseline registers; GCC splits
// them, and warns that passing them by value would change the ABI. Every
// function that takes them is inlined into one of the entry points, so no
// such call exists.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace amplitude_kernel {
namespace {

typedef double V8d __attribute__((vector_size(64)));
typedef float V8f __attribute__((vector_size(32)));
typedef std::int32_t V8i __attribute__((vector_size(32)));
typedef std::uint64_t V8u __attribute__((vector_size(64)));

constexpr int kLanes = 8;
// Site steps are checked in groups: a group with an unsettled step is taken
// again step by step from its start.
constexpr int kChunk = 32;

// Error bounds, with a wide safety factor over the worst case of each step.
// Phase: the double sum differs from the extended one by less than
// 2π·M·(4·2^-53 + 4·2^-64) < M·2^-48.3, where M = |h·x| + |k·y| + |l·z|.
constexpr double kPhaseSlack = 0x1p-44;
// Running sums: the double sine and cosine below are within 2^-51.7 of the
// true values (2^-52.4 is the worst the tests find), the extended ones within
// a few units of 2^-64; the double sum and the bracket about it round by at
// most 2^-53 of the sum's size each.
constexpr double kSumSlack = 0x1p-49;
constexpr double kSumSlackRelative = 0x1p-50;

// The argument reduction below is exact for |t| < 2^28.
constexpr double kReductionLimit = 0x1p28;
constexpr float kReductionLimitSingle = 0x1p28f;

// π/2 in three parts: the first two carry 25 bits each, so k times either is
// exact for |k| < 2^28.
constexpr double kHalfPiHigh = 0x1.921fb5p+0;
constexpr double kHalfPiMiddle = 0x1.110b46p-26;
constexpr double kHalfPiLow = 0x1.1a62633145c07p-54;
constexpr double kTwoOverPi = 0x1.45f306dc9c883p-1;
constexpr double kRoundingShift = 0x1.8p52;  // adding it rounds to an integer, ties to even
constexpr double kTwoPi = 0x1.921fb54442d18p+2;

// Taylor coefficients 1/n!, alternating. On |r| ≤ π/4 the first omitted terms
// are below 5e-17 (sine) and 3e-18 (cosine).
constexpr double kSin3 = -0x1.5555555555555p-3, kSin5 = 0x1.1111111111111p-7, kSin7 = -0x1.a01a01a01a01ap-13,
                 kSin9 = 0x1.71de3a556c734p-19, kSin11 = -0x1.ae64567f544e4p-26,
                 kSin13 = 0x1.6124613a86d09p-33, kSin15 = -0x1.ae7f3e733b81fp-41;
constexpr double kCos4 = 0x1.5555555555555p-5, kCos6 = -0x1.6c16c16c16c17p-10, kCos8 = 0x1.a01a01a01a01ap-16,
                 kCos10 = -0x1.27e4fb7789f5cp-22, kCos12 = 0x1.1eed8eff8d898p-29,
                 kCos14 = -0x1.93974a8c07c9dp-37, kCos16 = 0x1.ae7f3e733b81fp-45;

// The smallest magnitude that single precision rounds to infinity.
constexpr long double kSingleOverflow = 0x1.ffffffp127L;

struct SiteTable {
    alignas(64) double x[kMaxSites];
    alignas(64) double y[kMaxSites];
    alignas(64) double z[kMaxSites];
    int count = 0;
    double maxAbsX = 0, maxAbsY = 0, maxAbsZ = 0;
};

// Eight reflections' indices, as the reference rounds them (to single).
struct Batch {
    long double h[kLanes], k[kLanes], l[kLanes];
    V8d hd, kd, ld;
    V8d phaseSlack;
    double sumSlack, sumSlackRelative;
    bool wide;  // a phase might leave the range of the fast reduction
};

[[gnu::always_inline]] inline bool Any(V8i mask)
{
    std::uint64_t words[4];
    std::memcpy(words, &mask, sizeof words);
    return (words[0] | words[1] | words[2] | words[3]) != 0;
}

[[gnu::always_inline]] inline V8f Abs(V8f v)
{
    return v < 0 ? -v : v;
}

[[gnu::always_inline]] inline V8d Abs(V8d v)
{
    return (V8d)((V8u)v & ~(std::uint64_t{1} << 63));
}

[[gnu::always_inline]] inline void SinCos(V8d t, V8d& sine, V8d& cosine)
{
    const V8d shifted = t * kTwoOverPi + kRoundingShift;
    const V8d k = shifted - kRoundingShift;
    const V8u quadrant = (V8u)shifted;  // the low bits of k, two's complement
    // t − k·π/2: the first product and difference are exact.
    V8d r = t - k * kHalfPiHigh;
    r = r - k * kHalfPiMiddle;
    r = r - k * kHalfPiLow;
    const V8d z = r * r;
    const V8d sinR =
        r + (r * z) * (kSin3 + z * (kSin5 + z * (kSin7 + z * (kSin9 + z * (kSin11 + z * (kSin13 + z * kSin15))))));
    const V8d cosR = (1.0 - 0.5 * z)
                     + (z * z) * (kCos4 + z * (kCos6 + z * (kCos8 + z * (kCos10 + z * (kCos12 + z * (kCos14 + z * kCos16))))));
    const auto odd = (quadrant & 1) != 0;
    const V8u sinSign = (quadrant & 2) << 62;
    const V8u cosSign = ((quadrant + 1) & 2) << 62;
    sine = (V8d)((V8u)(odd ? cosR : sinR) ^ sinSign);
    cosine = (V8d)((V8u)(odd ? sinR : cosR) ^ cosSign);
}

// One site for eight reflections in double precision. Returns the lanes whose
// phase or running sums the error bounds do not settle; in the others cOut and
// sOut are the reference's singles.
template <bool kCheckRange>
[[gnu::always_inline]] inline V8i SiteStep(const SiteTable& sites, int n, const Batch& batch, V8d c, V8d s, V8d& cOut,
                                           V8d& sOut)
{
    const double x = sites.x[n], y = sites.y[n], z = sites.z[n];
    const V8d phase = ((batch.hd * x + batch.kd * y) + batch.ld * z) * kTwoPi;
    const V8f tLow = __builtin_convertvector(phase - batch.phaseSlack, V8f);
    const V8f tHigh = __builtin_convertvector(phase + batch.phaseSlack, V8f);
    V8i unsettled = tLow != tHigh;
    if constexpr (kCheckRange)
        unsettled |= ~(Abs(tLow) < kReductionLimitSingle);  // also true for not-a-number

    V8d sine, cosine;
    SinCos(__builtin_convertvector(tLow, V8d), sine, cosine);
    const V8d cSum = cosine + c;
    const V8d sSum = sine + s;
    // A phase of exactly 0 (index 000, the padding lanes, a site on a node)
    // has the exact cosine 1 and sine 0 in both precisions, and a sum of two
    // singles rounded to double and then to single is the sum rounded to
    // single: nothing to bracket. This keeps sums that stay at 0 settled.
    const V8u exact = (V8u)(phase == 0.0);
    const V8d cSlack = (V8d)((V8u)(batch.sumSlack + Abs(cSum) * batch.sumSlackRelative) & ~exact);
    const V8d sSlack = (V8d)((V8u)(batch.sumSlack + Abs(sSum) * batch.sumSlackRelative) & ~exact);
    const V8f cLow = __builtin_convertvector(cSum - cSlack, V8f);
    const V8f cHigh = __builtin_convertvector(cSum + cSlack, V8f);
    const V8f sLow = __builtin_convertvector(sSum - sSlack, V8f);
    const V8f sHigh = __builtin_convertvector(sSum + sSlack, V8f);
    unsettled |= (cLow != cHigh) | (sLow != sHigh);
    cOut = __builtin_convertvector(cLow, V8d);
    sOut = __builtin_convertvector(sLow, V8d);
    return unsettled;
}

// The reference's step for one site and one reflection, in extended
// precision. Returns false where the reference would raise an error instead.
bool ExtendedStep(long double h, long double k, long double l, double x, double y, double z, float& c, float& s)
{
    // Must stay the reference's expression: x, y and z are the sites' singles.
    const long double phase = ((h * x + k * y) + l * z) * extended::kTwoPi;
    if (!(std::fabs(phase) < kSingleOverflow))
        return false;
    const float t = static_cast<float>(phase);
    c = static_cast<float>(std::cos(static_cast<long double>(t)) + c);
    s = static_cast<float>(std::sin(static_cast<long double>(t)) + s);
    return true;
}

// Sites n0 to n1 − 1 in double precision only; false (and c, s untouched) if
// any step was unsettled.
[[gnu::always_inline]] inline bool FastChunk(const SiteTable& sites, int n0, int n1, const Batch& batch, V8d& c,
                                             V8d& s)
{
    V8d cc = c, ss = s;
    V8i unsettled = {};
    for (int n = n0; n < n1; ++n) {
        V8d cn, sn;
        unsettled |= SiteStep<false>(sites, n, batch, cc, ss, cn, sn);
        cc = cn;
        ss = sn;
    }
    if (Any(unsettled))
        return false;
    c = cc;
    s = ss;
    return true;
}

// Sites n0 to n1 − 1 step by step, taking each unsettled step of a lane in
// extended precision before the next site uses its sums.
[[gnu::always_inline]] inline void CarefulChunk(const SiteTable& sites, int n0, int n1, const Batch& batch, V8d& c,
                                                V8d& s, bool (&failed)[kLanes], Counters* counters)
{
    for (int n = n0; n < n1; ++n) {
        V8d cn, sn;
        const V8i unsettled = SiteStep<true>(sites, n, batch, c, s, cn, sn);
        if (Any(unsettled)) {
            for (int j = 0; j < kLanes; ++j) {
                if (!unsettled[j] || failed[j])
                    continue;
                float cj = static_cast<float>(c[j]);
                float sj = static_cast<float>(s[j]);
                if (!ExtendedStep(batch.h[j], batch.k[j], batch.l[j], sites.x[n], sites.y[n], sites.z[n], cj, sj))
                    failed[j] = true;
                cn[j] = cj;
                sn[j] = sj;
                if (counters)
                    ++counters->extendedSteps;
            }
        }
        c = cn;
        s = sn;
    }
}

Batch MakeBatch(const SiteTable& sites, const std::int32_t (*hkl)[3], int lanes, double marginScale)
{
    Batch batch;
    V8d bound;
    for (int j = 0; j < kLanes; ++j) {
        // Lanes past the last reflection run 000, which costs nothing to settle.
        const std::int32_t* m = j < lanes ? hkl[j] : nullptr;
        const float h = m ? static_cast<float>(m[0]) : 0.0f;
        const float k = m ? static_cast<float>(m[1]) : 0.0f;
        const float l = m ? static_cast<float>(m[2]) : 0.0f;
        batch.h[j] = h;
        batch.k[j] = k;
        batch.l[j] = l;
        batch.hd[j] = h;
        batch.kd[j] = k;
        batch.ld[j] = l;
        bound[j] = std::fabs(static_cast<double>(h)) * sites.maxAbsX + std::fabs(static_cast<double>(k)) * sites.maxAbsY
                   + std::fabs(static_cast<double>(l)) * sites.maxAbsZ;
    }
    batch.phaseSlack = bound * (kPhaseSlack * marginScale);
    batch.sumSlack = kSumSlack * marginScale;
    batch.sumSlackRelative = kSumSlackRelative * marginScale;
    batch.wide = false;
    for (int j = 0; j < kLanes; ++j)
        if (!(bound[j] * (kTwoPi * (1 + 0x1p-40)) < kReductionLimit))
            batch.wide = true;  // also for coordinates that are not finite
    return batch;
}

[[gnu::always_inline]] inline int RunBatches(const SiteTable& sites, const std::int32_t (*hkl)[3], int count,
                                             float* amplitudes, double marginScale, Counters* counters)
{
    for (int first = 0; first < count; first += kLanes) {
        const int lanes = count - first < kLanes ? count - first : kLanes;
        const Batch batch = MakeBatch(sites, hkl + first, lanes, marginScale);
        V8d c = {}, s = {};
        bool failed[kLanes] = {};
        for (int n0 = 0; n0 < sites.count; n0 += kChunk) {
            const int n1 = sites.count - n0 < kChunk ? sites.count : n0 + kChunk;
            if (!batch.wide && FastChunk(sites, n0, n1, batch, c, s))
                continue;
            if (counters)
                ++counters->replayedChunks;
            CarefulChunk(sites, n0, n1, batch, c, s, failed, counters);
        }
        for (int j = 0; j < lanes; ++j) {
            if (failed[j])
                return first + j;
            const float cj = static_cast<float>(c[j]);
            const float sj = static_cast<float>(s[j]);
            amplitudes[first + j] =
                StoreSingle(std::sqrt(static_cast<long double>(cj) * cj + static_cast<long double>(sj) * sj));
        }
    }
    return count;
}

int RunBaseline(const SiteTable& sites, const std::int32_t (*hkl)[3], int count, float* amplitudes, double marginScale,
                Counters* counters)
{
    return RunBatches(sites, hkl, count, amplitudes, marginScale, counters);
}

__attribute__((target("avx2"))) int RunAvx2(const SiteTable& sites, const std::int32_t (*hkl)[3], int count,
                                            float* amplitudes, double marginScale, Counters* counters)
{
    return RunBatches(sites, hkl, count, amplitudes, marginScale, counters);
}

__attribute__((target("avx512f"))) int RunAvx512(const SiteTable& sites, const std::int32_t (*hkl)[3], int count,
                                                 float* amplitudes, double marginScale, Counters* counters)
{
    return RunBatches(sites, hkl, count, amplitudes, marginScale, counters);
}

[[gnu::always_inline]] inline void SineCosineOf(const double (&t)[8], double (&sine)[8], double (&cosine)[8])
{
    V8d v, s, c;
    std::memcpy(&v, t, sizeof v);
    SinCos(v, s, c);
    std::memcpy(sine, &s, sizeof s);
    std::memcpy(cosine, &c, sizeof c);
}

void SineCosineBaseline(const double (&t)[8], double (&sine)[8], double (&cosine)[8])
{
    SineCosineOf(t, sine, cosine);
}

__attribute__((target("avx2"))) void SineCosineAvx2(const double (&t)[8], double (&sine)[8], double (&cosine)[8])
{
    SineCosineOf(t, sine, cosine);
}

__attribute__((target("avx512f"))) void SineCosineAvx512(const double (&t)[8], double (&sine)[8], double (&cosine)[8])
{
    SineCosineOf(t, sine, cosine);
}

double MaxAbs(const float* values, int count)
{
    double max = 0;
    for (int i = 0; i < count; ++i) {
        const double v = std::fabs(static_cast<double>(values[i]));
        if (!(v <= max))
            max = v;  // a value that is not a number stays, and marks every batch wide
    }
    return max;
}

}  // namespace

bool IsaAvailable(Isa isa)
{
    __builtin_cpu_init();
    switch (isa) {
    case Isa::Avx512: return __builtin_cpu_supports("avx512f");
    case Isa::Avx2: return __builtin_cpu_supports("avx2");
    case Isa::Baseline: return true;
    }
    return false;
}

Isa BestIsa()
{
    static const Isa best = IsaAvailable(Isa::Avx512) ? Isa::Avx512
                            : IsaAvailable(Isa::Avx2) ? Isa::Avx2
                                                      : Isa::Baseline;
    return best;
}

const char* IsaName(Isa isa)
{
    switch (isa) {
    case Isa::Avx512: return "AVX-512";
    case Isa::Avx2: return "AVX2";
    case Isa::Baseline: return "SSE2";
    }
    return "?";
}

int StructureAmplitudes(const AtomSites& sites, const std::int32_t (*hkl)[3], int count, float* amplitudes,
                        const Options& options)
{
    if (count <= 0)
        return 0;
    if (sites.SiteCount < 0 || sites.SiteCount > kMaxSites)
        return 0;  // the reference's range check
    SiteTable table;
    table.count = sites.SiteCount;
    for (int n = 0; n < table.count; ++n) {
        const std::size_t i = static_cast<std::size_t>(n);
        table.x[n] = sites.SiteX[i];
        table.y[n] = sites.SiteY[i];
        table.z[n] = sites.SiteZ[i];
    }
    table.maxAbsX = MaxAbs(sites.SiteX.data(), table.count);
    table.maxAbsY = MaxAbs(sites.SiteY.data(), table.count);
    table.maxAbsZ = MaxAbs(sites.SiteZ.data(), table.count);

    Isa isa = options.isa;
    if (!IsaAvailable(isa))
        isa = Isa::Baseline;
    switch (isa) {
    case Isa::Avx512: return RunAvx512(table, hkl, count, amplitudes, options.marginScale, options.counters);
    case Isa::Avx2: return RunAvx2(table, hkl, count, amplitudes, options.marginScale, options.counters);
    case Isa::Baseline: break;
    }
    return RunBaseline(table, hkl, count, amplitudes, options.marginScale, options.counters);
}

void SineCosine(Isa isa, const double (&t)[8], double (&sine)[8], double (&cosine)[8])
{
    if (!IsaAvailable(isa))
        isa = Isa::Baseline;
    switch (isa) {
    case Isa::Avx512: SineCosineAvx512(t, sine, cosine); return;
    case Isa::Avx2: SineCosineAvx2(t, sine, cosine); return;
    case Isa::Baseline: break;
    }
    SineCosineBaseline(t, sine, cosine);
}

}  // namespace amplitude_kernel
