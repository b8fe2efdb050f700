// The amplitude kernel's own premises and its edges: the accuracy its error
// bounds assume, the extended-precision path, batches of any length, indices
// beyond the fast range, and the reflections the reference refuses.

#include "crystal/amplitude_kernel.hpp"

#include "core/run_errors.hpp"
#include "crystal/reflections.hpp"
#include "crystal_fixtures.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace crystal_fixtures;
using amplitude_kernel::Isa;

std::vector<Isa> AvailableIsas()
{
    std::vector<Isa> isas;
    for (const Isa isa : {Isa::Baseline, Isa::Avx2, Isa::Avx512})
        if (amplitude_kernel::IsaAvailable(isa))
            isas.push_back(isa);
    return isas;
}

using Indices = std::vector<std::array<std::int32_t, 3>>;

// The kernel's amplitudes of `indices`, or the count it stopped at.
std::vector<float> KernelAmplitudes(const AtomSites& sites, const Indices& indices, const amplitude_kernel::Options& options,
                                    int* done = nullptr)
{
    std::vector<std::int32_t> flat;
    for (const auto& hkl : indices)
        flat.insert(flat.end(), hkl.begin(), hkl.end());
    std::vector<float> amplitudes(indices.size(), -1.0f);
    const int count = amplitude_kernel::StructureAmplitudes(
        sites, reinterpret_cast<const std::int32_t(*)[3]>(flat.data()), static_cast<int>(indices.size()),
        amplitudes.data(), options);
    if (done)
        *done = count;
    else
        EXPECT_EQ(count, static_cast<int>(indices.size()));
    return amplitudes;
}

void ExpectReferenceBits(const AtomSites& sites, const Indices& indices, const std::vector<float>& amplitudes)
{
    for (std::size_t j = 0; j < indices.size(); ++j) {
        const auto& m = indices[j];
        EXPECT_EQ(std::bit_cast<std::uint32_t>(amplitudes[j]),
                  std::bit_cast<std::uint32_t>(StructureAmplitudeReference(sites, m[0], m[1], m[2])))
            << m[0] << " " << m[1] << " " << m[2];
    }
}

TEST(AmplitudeKernel, SineAndCosineStayWithinTheirErrorBound)
{
    // The bracket about each running sum allows 2^-49 for the double sine and
    // cosine; the analysis of the reduction and the series gives 2^-51.7. The
    // phases are singles up to the reduction limit 2^28, with many just off
    // multiples of π/2 where the reduction cancels most.
    std::mt19937_64 random(11);
    std::vector<float> phases = {0.0f, -0.0f, 1e-30f, 0.78539819f, 0.78539813f, 1.5707964f, 3.1415927f,
                                 268435440.0f, -268435440.0f};
    while (phases.size() < 120000) {
        const double unit = static_cast<double>(random() >> 11) * 0x1p-53;
        switch (random() % 3) {
        case 0: phases.push_back(static_cast<float>(std::ldexp(unit, static_cast<int>(random() % 29)))); break;
        case 1: {
            float near = static_cast<float>(static_cast<double>(random() % (1u << 27)) * (M_PI / 2));
            std::uint32_t bits;
            std::memcpy(&bits, &near, sizeof bits);
            bits += static_cast<std::uint32_t>(random() % 5) - 2;
            std::memcpy(&near, &bits, sizeof bits);
            phases.push_back(near);
            break;
        }
        default: phases.push_back(-static_cast<float>(unit * 4000)); break;
        }
    }
    for (const Isa isa : AvailableIsas()) {
        SCOPED_TRACE(amplitude_kernel::IsaName(isa));
        long double worst = 0;
        float worstPhase = 0;
        for (std::size_t first = 0; first + 8 <= phases.size(); first += 8) {
            double t[8], sine[8], cosine[8];
            for (int j = 0; j < 8; ++j)
                t[j] = phases[first + static_cast<std::size_t>(j)];
            amplitude_kernel::SineCosine(isa, t, sine, cosine);
            for (int j = 0; j < 8; ++j) {
                const long double phase = t[j];
                const long double error =
                    std::fmax(std::fabs(sine[j] - std::sin(phase)), std::fabs(cosine[j] - std::cos(phase)));
                if (error > worst) {
                    worst = error;
                    worstPhase = static_cast<float>(t[j]);
                }
            }
        }
        EXPECT_LE(worst, 0x1.3p-52L) << "at t = " << worstPhase;  // 2^-51.7
    }
}

TEST(AmplitudeKernel, TheExtendedPathGivesTheReference)
{
    // Bounds widened beyond any sum send every step down the extended path,
    // which must give what the reference gives; and with the normal bounds
    // the double path must give the same.
    const AtomSites screw = StructureOne(P1211());
    const AtomSites cubic = StructureOne(FmMinus3m());
    Indices indices;
    for (std::int32_t h = -2; h <= 2; ++h)
        for (std::int32_t k = -2; k <= 3; ++k)
            indices.push_back({h, k, 1 - h});
    for (const Isa isa : AvailableIsas()) {
        SCOPED_TRACE(amplitude_kernel::IsaName(isa));
        for (const AtomSites* sites : {&screw, &cubic}) {
            amplitude_kernel::Counters counters;
            amplitude_kernel::Options everyStepExtended;
            everyStepExtended.isa = isa;
            everyStepExtended.marginScale = 1e30;
            everyStepExtended.counters = &counters;
            ExpectReferenceBits(*sites, indices, KernelAmplitudes(*sites, indices, everyStepExtended));
            EXPECT_GT(counters.extendedSteps, static_cast<std::int64_t>(indices.size()) * sites->SiteCount / 2);
            amplitude_kernel::Options normal;
            normal.isa = isa;
            ExpectReferenceBits(*sites, indices, KernelAmplitudes(*sites, indices, normal));
        }
    }
}

TEST(AmplitudeKernel, SettlesWhatDoublePrecisionAloneGetsWrong)
{
    // Found by search: summed in double precision without the bracket, each
    // of these comes out one unit of single precision off. Structure 68 in
    // Fm-3m at 400: site 945's double sum 0x1.06cf1fp+7 lies exactly on a
    // rounding midpoint of single, the extended sum 2^-47 below it. The others
    // are extinct reflections, whose residues hang on the last bits of every
    // partial sum.
    struct Case {
        const char* group;
        OperatorTable operators;
        std::int32_t structure;
        std::array<std::int32_t, 3> hkl;
    };
    const Case cases[] = {
        {"Fm-3m", FmMinus3m(), 68, {4, 0, 0}},   {"Fm-3m", FmMinus3m(), 1144, {1, -1, 0}},
        {"Fm-3m", FmMinus3m(), 1163, {1, 1, 0}}, {"Fm-3m", FmMinus3m(), 2709, {1, 3, 0}},
        {"P1211", P1211(), 96, {0, 1, 0}},       {"P1211", P1211(), 569, {0, -1, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.group) + " structure " + std::to_string(c.structure));
        AtomSites sites;
        RandomState random = 0;
        SeedStructure(c.structure, random, sites);
        ExpandSites(c.operators, sites);
        for (const Isa isa : AvailableIsas()) {
            SCOPED_TRACE(amplitude_kernel::IsaName(isa));
            amplitude_kernel::Options options;
            options.isa = isa;
            ExpectReferenceBits(sites, {c.hkl}, KernelAmplitudes(sites, {c.hkl}, options));
        }
    }
}

TEST(AmplitudeKernel, BatchesOfAnyLengthAndIndicesOfAnySize)
{
    const AtomSites sites = StructureOne(C121());
    // Partial batches, and indices that single precision rounds (beyond 2^24)
    // or whose phases leave the fast reduction's range (beyond 2^28).
    Indices indices;
    for (std::int32_t j = 0; j < 17; ++j)
        indices.push_back({j - 8, 2 * j % 7, j % 3});
    indices.push_back({16777217, 0, 1});
    indices.push_back({-16777219, 3, 0});
    indices.push_back({268435457, -1, 2});
    indices.push_back({std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::min(), 5});
    for (const Isa isa : AvailableIsas()) {
        SCOPED_TRACE(amplitude_kernel::IsaName(isa));
        amplitude_kernel::Options options;
        options.isa = isa;
        for (std::size_t length = 1; length <= indices.size(); ++length) {
            SCOPED_TRACE("length " + std::to_string(length));
            const Indices head(indices.begin(), indices.begin() + static_cast<std::ptrdiff_t>(length));
            ExpectReferenceBits(sites, head, KernelAmplitudes(sites, head, options));
        }
    }
}

TEST(AmplitudeKernel, StopsWhereTheReferenceRaises)
{
    const AtomSites sites = StructureOne(P121());
    AtomSites far = sites;
    far.SiteZ[3] = 1e38f;  // any l ≠ 0 puts its phase beyond single precision
    AtomSites undefined = sites;
    undefined.SiteX[7] = std::numeric_limits<float>::quiet_NaN();
    AtomSites overfull = sites;
    overfull.SiteCount = kMaxSites + 1;
    struct Case {
        const char* name;
        const AtomSites& sites;
        Indices indices;
        int done;  // reflections the kernel settles before handing one back
        const char* error;
    };
    const Case cases[] = {
        {"a phase too large for single", far, {{1, 0, 0}, {2, 1, 0}, {0, 0, 1}, {1, 1, 0}}, 2,
         error_text::kFloatOverflow},
        // 0 times not-a-number is not a number: the first reflection already fails.
        {"a phase that is not a number", undefined, {{0, 1, 2}, {1, 0, 0}}, 0, error_text::kInvalidFloatOperation},
        {"too many sites", overfull, {{1, 0, 0}}, 0, error_text::kRangeCheck},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int done = -1;
        const std::vector<float> amplitudes = KernelAmplitudes(c.sites, c.indices, {}, &done);
        EXPECT_EQ(done, c.done);
        ExpectReferenceBits(c.sites, Indices(c.indices.begin(), c.indices.begin() + done), amplitudes);
        const auto& refused = c.indices[static_cast<std::size_t>(done)];
        for (const auto amplitude : {StructureAmplitude, StructureAmplitudeReference}) {
            try {
                amplitude(c.sites, refused[0], refused[1], refused[2]);
                ADD_FAILURE() << "no error";
            } catch (const RunTimeError& error) {
                EXPECT_STREQ(error.what(), c.error);
            }
        }
    }
}

}  // namespace
