#include "crystal/amplitude_kernel.hpp"

#include "core/checked_arithmetic.hpp"
#include "crystal/extended_constants.hpp"

#include <immintrin.h>

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
    V8d sumSlack, sumSlackRelative;  // 0 in the lanes of index 000
    bool wide;  // a phase might leave the range of the fast reduction
};

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

// Up to eight reflections, with their error bounds and the index rounding
// the reference applies.
void MakeBatch(const SiteTable& sites, const std::int32_t (*hkl)[3], int lanes, double marginScale, Batch& batch)
{
    V8d bound;
    for (int j = 0; j < kLanes; ++j) {
        // Lanes past the last reflection run 000.
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
        // Index 000 has every phase exactly 0, whose cosine 1 and sine 0 are
        // exact in both precisions; a sum of two singles rounded to double and
        // then to single is the sum rounded to single. Nothing to bracket, and
        // the sine sum, which stays at 0, would otherwise never settle.
        const bool exact = h == 0 && k == 0 && l == 0;
        batch.sumSlack[j] = exact ? 0 : kSumSlack * marginScale;
        batch.sumSlackRelative[j] = exact ? 0 : kSumSlackRelative * marginScale;
    }
    batch.phaseSlack = bound * (kPhaseSlack * marginScale);
    batch.wide = false;
    for (int j = 0; j < kLanes; ++j)
        if (!(bound[j] * (kTwoPi * (1 + 0x1p-40)) < kReductionLimit))
            batch.wide = true;  // also for coordinates that are not finite
}

// The lane code, once per instruction set.
namespace baseline {
#define KERNEL_FMA 0
#include "crystal/amplitude_kernel_lanes.inc"
#undef KERNEL_FMA
}  // namespace baseline

// Clang has no GCC target pragmas; its attribute pragma gives the same.
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif
namespace avx2 {
#define KERNEL_FMA 0
#include "crystal/amplitude_kernel_lanes.inc"
#undef KERNEL_FMA
}  // namespace avx2
#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx512f"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx512f")
#endif
namespace avx512 {
#define KERNEL_FMA 1
#include "crystal/amplitude_kernel_lanes.inc"
#undef KERNEL_FMA
}  // namespace avx512
#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

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
    case Isa::Avx512: return avx512::Run(table, hkl, count, amplitudes, options.marginScale, options.counters);
    case Isa::Avx2: return avx2::Run(table, hkl, count, amplitudes, options.marginScale, options.counters);
    case Isa::Baseline: break;
    }
    return baseline::Run(table, hkl, count, amplitudes, options.marginScale, options.counters);
}

void SineCosine(Isa isa, const double (&t)[8], double (&sine)[8], double (&cosine)[8])
{
    if (!IsaAvailable(isa))
        isa = Isa::Baseline;
    switch (isa) {
    case Isa::Avx512: avx512::SineCosine(t, sine, cosine); return;
    case Isa::Avx2: avx2::SineCosine(t, sine, cosine); return;
    case Isa::Baseline: break;
    }
    baseline::SineCosine(t, sine, cosine);
}

}  // namespace amplitude_kernel
