// CollectReflections against the literal enumeration of every index pair, on
// inputs where the bounds are far wider than the circle, and the integer
// search behind its jumps over empty rows.

#include "core/run_errors.hpp"
#include "crystal/extended_constants.hpp"
#include "crystal/lattice.hpp"
#include "crystal/reflections.hpp"
#include "crystal/row_search.hpp"
#include "crystal_fixtures.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>
#include <string>

namespace {

using namespace crystal_fixtures;

// Panel centres of an 800 × 500 picture; the scale puts a limit of 0.4 at 120 pixels.
PanelLayout Layout(float scale = 300)
{
    return {scale, 133.33333f, 238.09525f, 400, 238.09525f, 666.66669f, 238.09525f};
}

ReciprocalParameters Monoclinic(float a, float b, float c, float beta)
{
    ReciprocalParameters reciprocal;
    float minLength = 0;
    ComputeReciprocalCell(CrystalSystem::Monoclinic, {a, b, c, 90, beta, 90}, 70.926f, reciprocal, minLength);
    return reciprocal;
}

struct Outcome {
    ReflectionList list;
    std::string error;  // empty when the enumeration ran to its end
};

template <class Collect>
Outcome Run(Collect collect)
{
    Outcome outcome;
    try {
        collect(outcome.list);
    } catch (const RunTimeError& error) {
        outcome.error = error.what();
    }
    return outcome;
}

// The same entries in the same order, the same amplitude bits and the same
// error, with the list holding the same entries when the error came.
void ExpectSameOutcome(const Outcome& fast, const Outcome& reference)
{
    EXPECT_EQ(fast.error, reference.error);
    ASSERT_EQ(fast.list.ReflectionCount, reference.list.ReflectionCount);
    int differences = 0;
    for (int i = 0; i < reference.list.ReflectionCount; ++i) {
        const std::size_t e = static_cast<std::size_t>(i);
        if (fast.list.PixelX[e] != reference.list.PixelX[e] || fast.list.PixelY[e] != reference.list.PixelY[e]
            || std::bit_cast<std::uint32_t>(fast.list.Amplitude[e])
                   != std::bit_cast<std::uint32_t>(reference.list.Amplitude[e])) {
            if (differences++ < 5)
                ADD_FAILURE() << "entry " << i << ": (" << fast.list.PixelX[e] << ", " << fast.list.PixelY[e]
                              << ") " << fast.list.Amplitude[e] << " instead of (" << reference.list.PixelX[e] << ", "
                              << reference.list.PixelY[e] << ") " << reference.list.Amplitude[e];
        }
    }
    EXPECT_EQ(differences, 0);
}

Outcome Fast(const RunSettings& settings, const ReciprocalParameters& cell, const PanelLayout& layout,
             const AtomSites& sites)
{
    return Run([&](ReflectionList& list) { CollectReflections(settings, cell, layout, sites, list); });
}

Outcome Reference(const RunSettings& settings, const ReciprocalParameters& cell, const PanelLayout& layout,
                  const AtomSites& sites)
{
    return Run([&](ReflectionList& list) { CollectReflectionsReference(settings, cell, layout, sites, list); });
}

TEST(RowRangeEnumeration, StoresWhatEveryPairGives)
{
    const AtomSites sites = StructureOne(P121());
    const float kNearly180 = 179.99998f;  // the single closest to 180 below it
    struct Case {
        const char* name;
        ReciprocalParameters cell;
        float sMax;
    };
    const Case cases[] = {
        {"window defaults", Monoclinic(900, 1100, 1350, 110), 0.4f},
        {"a full list, the middle plane cut off", Monoclinic(900, 1100, 1350, 110), 2.0f},
        // β close to 180° or 0°: a* and c* of several thousand, rows of one
        // point or none, 9.7 million pairs in the middle plane.
        {"β 179.999°, limit 100", Monoclinic(900, 1100, 1350, 179.999f), 100},
        {"β 0.001°, limit 100", Monoclinic(900, 1100, 1350, 0.001f), 100},
        {"c 10^6 pm", Monoclinic(900, 1100, 1e6f, 110), 0.4f},
        // Inner spacing far beyond the circle at a shallow angle: every row
        // has the single index 0 and only the rows near the origin reach.
        {"γ* 0.0573°, inner spacing 1000", {1000, 0.01f, 0.1f, 90, 90, 0.0573f}, 0.4f},
        // One row in 250 holds a candidate: the enumeration jumps between them.
        {"sparse rows, γ* near 180°", {100, 0.4f, 0.1f, 90, 90, 179.9943f}, 0.4f},
        {"sparse rows, γ* near 0°", {100, 0.4f, 0.1f, 90, 90, 0.0057f}, 0.4f},
        {"sparse rows, γ* nearly 180° as a single", {250000, 3, 0.1f, 90, 90, kNearly180}, 0.4f},
        {"sparse rows, negative lengths and limit", {-100, -0.4f, -0.1f, 90, 90, 0.0057f}, -0.4f},
        // 81 million rows 1e-8 apart: near the bottom of the circle the
        // chords are far shorter than the inner spacing, and the list fills
        // there.
        {"short chords at the edge of a dense plane", {0.5f, 1e-8f, 0.1f, 90, 90, 80}, 0.4f},
        {"negative lengths, negative limit", {-0.1f, -0.1f, -0.1f, 90, 90, 90}, -0.4f},
        {"one negative length", {-0.1f, 0.1f, 0.1f, 90, 90, 90}, 0.4f},
        {"negative limit", {0.1f, 0.1f, 0.1f, 90, 90, 90}, -0.4f},
        {"angles beyond 180°", {0.1f, 0.1f, 0.1f, 270, 300, 200}, -0.4f},
        {"limit whose square is subnormal", {0.1f, 0.1f, 0.1f, 90, 90, 90}, 1e-20f},
        {"limit whose square is 0", {0.1f, 0.1f, 0.1f, 90, 90, 90}, 1e-30f},
    };
    for (const Case& c : cases) {
        for (const std::int32_t layer : {0, 1}) {
            SCOPED_TRACE(std::string(c.name) + ", layer " + std::to_string(layer));
            const RunSettings settings = Settings(c.sMax, layer);
            const PanelLayout layout = Layout(120 / std::fabs(c.sMax));
            ExpectSameOutcome(Fast(settings, c.cell, layout, sites), Reference(settings, c.cell, layout, sites));
        }
    }
}

TEST(RowRangeEnumeration, AnInfiniteLimitTakesPairsInOrder)
{
    // Every pair passes; the list takes the first 2995 of the literal order.
    RunSettings settings = Settings(40, 0);
    settings.SMaxSquared = std::numeric_limits<float>::infinity();
    const ReciprocalParameters cell{0.1f, 0.1f, 0.1f, 90, 90, 90};
    const AtomSites sites = StructureOne(P121());
    const Outcome fast = Fast(settings, cell, Layout(1), sites);
    EXPECT_EQ(fast.list.ReflectionCount, 2995);
    ExpectSameOutcome(fast, Reference(settings, cell, Layout(1), sites));
}

TEST(RowRangeEnumeration, RaisesTheSameErrorAtTheSamePoint)
{
    const AtomSites sites = StructureOne(P121());
    // A site whose phase overflows single precision for every reflection that
    // takes its y: k ≠ 0.
    AtomSites farSite = sites;
    farSite.SiteY[0] = 3e38f;
    // At γ* = 180, sin γ* is −5e-20 in extended precision and cos γ* is −1:
    // x = (i − o)·L exactly, so with L = 5e37 a row overflows 7 steps right
    // of its diagonal, the first row after storing its diagonal point.
    const float kHuge = 5e37f;
    PanelLayout tall = Layout(5.4e9f);
    tall.Centre1Y = 2e7f;  // the first point of the left panel fits, (−4, 0) does not
    struct Case {
        const char* name;
        ReciprocalParameters cell;
        float sMax;
        PanelLayout layout;
        const AtomSites& sites;
        const char* error;
    };
    const Case cases[] = {
        {"x overflows after a stored point", {kHuge, kHuge, kHuge, 90, 90, 180}, -1.1e19f, Layout(1e-17f), sites,
         error_text::kFloatOverflow},
        {"x overflows at the first pair", {1e30f, 1e30f, 1e30f, 90, 90, 1e-30f}, 1e7f, Layout(1e-5f), sites,
         error_text::kFloatOverflow},
        // The amplitudes come after the positions, yet the reference's first
        // error is the first amplitude's.
        {"an amplitude before a later bound", {0.1f, 0.1f, 0.1f, 0, 90, 90}, 0.4f, Layout(), farSite,
         error_text::kFloatOverflow},
        {"an amplitude before a later pixel", {0.1f, 0.1f, 0.1f, 90, 90, 90}, 0.4f, tall, farSite,
         error_text::kFloatOverflow},
        {"a pixel before any amplitude", {0.1f, 0.1f, 0.1f, 90, 90, 90}, 0.4f, tall, sites, error_text::kRangeCheck},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RunSettings settings = Settings(c.sMax, 0);
        const Outcome reference = Reference(settings, c.cell, c.layout, c.sites);
        EXPECT_EQ(reference.error, c.error);
        ExpectSameOutcome(Fast(settings, c.cell, c.layout, c.sites), reference);
    }
}

// The smallest x with (a·x + b) mod m ≤ d by trying every x up to m.
std::uint64_t SearchEveryStep(std::uint64_t a, std::uint64_t b, std::uint64_t m, std::uint64_t d)
{
    for (std::uint64_t x = 0; x < m; ++x)
        if ((a * x + b) % m <= d)
            return x;
    return kNoSolution;
}

TEST(FirstInWindow, FindsTheFirstStepIntoTheWindow)
{
    // Every case of the small moduli, and random ones of larger moduli.
    for (std::uint64_t m = 1; m <= 24; ++m)
        for (std::uint64_t a = 0; a < m; ++a)
            for (std::uint64_t b = 0; b < m; ++b)
                for (std::uint64_t d = 0; d < m; ++d)
                    ASSERT_EQ(FirstInWindow(a, b, m, d), SearchEveryStep(a, b, m, d))
                        << "a " << a << " b " << b << " m " << m << " d " << d;
    std::mt19937_64 random(2024);
    for (int trial = 0; trial < 3000; ++trial) {
        const std::uint64_t m = 25 + random() % 4000;
        const std::uint64_t a = random() % m, b = random() % m, d = random() % (m / 8);
        ASSERT_EQ(FirstInWindow(a, b, m, d), SearchEveryStep(a, b, m, d))
            << "a " << a << " b " << b << " m " << m << " d " << d;
    }
}

TEST(FirstInWindow, WorksAtTheFullModulus)
{
    const std::uint64_t m = std::uint64_t{1} << 62;
    // Windows of 2^-12 of the modulus: the first step into one is found by
    // trying, and must be the one returned.
    std::mt19937_64 random(7);
    for (int trial = 0; trial < 200; ++trial) {
        const std::uint64_t a = random() % m, b = random() % m, d = m >> 12;
        const std::uint64_t x = FirstInWindow(a, b, m, d);
        ASSERT_NE(x, kNoSolution);
        const auto value = [&](std::uint64_t step) {
            return static_cast<std::uint64_t>((static_cast<unsigned __int128>(a) * step + b) % m);
        };
        EXPECT_LE(value(x), d);
        if (x < 100000) {
            for (std::uint64_t earlier = 0; earlier < x; ++earlier)
                ASSERT_GT(value(earlier), d) << "step " << earlier << " of " << x;
        }
    }
    // Steps far beyond any brute force.
    EXPECT_EQ(FirstInWindow(1, m - 5, m, 2), 5u);
    EXPECT_EQ(FirstInWindow(3, 1, m, 0), (m - 1) / 3);  // 3x + 1 ≡ 0 (mod 2^62), and 3 divides 2^62 − 1
    EXPECT_EQ(FirstInWindow(m / 2, 1, m, 0), kNoSolution);
    EXPECT_EQ(FirstInWindow(0, 7, m, 6), kNoSolution);
}

}  // namespace
