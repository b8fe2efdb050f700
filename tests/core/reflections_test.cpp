#include "crystal/reflections.hpp"

#include "core/run_errors.hpp"
#include "crystal_fixtures.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <string>

namespace {

using namespace crystal_fixtures;

// The synthetic square lattice: spacing 0.1 in every direction, right angles.
const ReciprocalParameters kSquare{0.1f, 0.1f, 0.1f, 90, 90, 90};
const PanelLayout kSquareLayout{300, 133.33333f, 238.09525f, 400, 238.09525f, 666.66669f, 238.09525f};

// The layout the window gives an 800 × 500 picture.
PanelLayout WindowLayout(float sMax)
{
    const long double width = 800;
    const float centreY = static_cast<float>(500 / 2.1L);
    return {static_cast<float>(width * 0.9L / (6 * static_cast<long double>(sMax))),
            static_cast<float>(width / 6), centreY,
            static_cast<float>(width / 2), centreY,
            static_cast<float>(width / 6 * 5), centreY};
}

// The reciprocal cell of the window's default monoclinic cell at 70.926 pm.
ReciprocalParameters DefaultCell()
{
    ReciprocalParameters reciprocal;
    float minLength = 0;
    ComputeReciprocalCell(CrystalSystem::Monoclinic, {900, 1100, 1350, 90, 110, 90}, 70.926f, reciprocal, minLength);
    return reciprocal;
}

// Entries per panel, told apart by their column; also checks that the panels
// follow one another in the list without interleaving.
std::array<int, 3> CountsPerPlane(const ReflectionList& list)
{
    std::array<int, 3> counts{};
    int previous = 0;
    for (int i = 0; i < list.ReflectionCount; ++i) {
        const int x = list.PixelX[static_cast<std::size_t>(i)];
        const int plane = x < 800 / 3 ? 0 : x < 1600 / 3 ? 1 : 2;
        EXPECT_GE(plane, previous) << "entry " << i << " goes back to an earlier panel";
        previous = plane;
        ++counts[static_cast<std::size_t>(plane)];
    }
    return counts;
}

// The index of the entry at a pixel, or -1.
int EntryAt(const ReflectionList& list, int x, int y)
{
    for (int i = 0; i < list.ReflectionCount; ++i)
        if (list.PixelX[static_cast<std::size_t>(i)] == x && list.PixelY[static_cast<std::size_t>(i)] == y)
            return i;
    return -1;
}

TEST(CollectReflections, SquareLatticeCountsAndOrder)
{
    const AtomSites sites = StructureOne(P121());
    for (const std::int32_t layer : {0, 1}) {
        SCOPED_TRACE("layer " + std::to_string(layer));
        ReflectionList list;
        list.ReflectionCount = 77;
        CollectReflections(Settings(0.4f, layer), kSquare, kSquareLayout, sites, list);
        // (±4, 0) and (0, ±4) lie at 0.16 from the origin, just inside 0.4f·0.4f = 0.16000001.
        const int perPlane = layer == 0 ? 48 : 49;
        EXPECT_EQ(list.ReflectionCount, 3 * perPlane);
        EXPECT_EQ(CountsPerPlane(list), (std::array<int, 3>{perPlane, perPlane, perPlane}));

        // Outer index ascending, inner ascending: the first point is k = −4, h = 0,
        // at the bottom of the left circle; rows k = −4 … −1 hold 1, 5, 7 and 7 points.
        EXPECT_EQ(list.PixelX[0], 133);
        EXPECT_EQ(list.PixelY[0], 382);
        const int rowZero = 20;
        EXPECT_EQ(list.PixelX[rowZero], 133 - 120);  // h = −4, k = 0
        EXPECT_EQ(list.PixelY[rowZero], 262);
        const int h1k0 = rowZero + 5 - (layer == 0 ? 1 : 0);  // the origin is skipped only in layer 0
        EXPECT_EQ(list.PixelX[h1k0], 163);
        EXPECT_EQ(list.PixelY[h1k0], 262);
        const int h0k1 = rowZero + (layer == 0 ? 8 : 9) + 3;
        EXPECT_EQ(list.PixelX[h0k1], 133);
        EXPECT_EQ(list.PixelY[h0k1], 232);
        EXPECT_EQ(list.PixelX[perPlane - 1], 133);  // k = 4, h = 0 closes the plane
        EXPECT_EQ(list.PixelY[perPlane - 1], 142);
        EXPECT_EQ(list.PixelX[perPlane], 400) << "plane 2 starts at its own bottom point";
        EXPECT_EQ(list.PixelY[perPlane], 382);
    }
}

TEST(CollectReflections, EachPlaneHandsItsIndicesToTheAmplitude)
{
    // Structure 1 without symmetry: its amplitudes tell the reflections apart.
    const AtomSites sites = StructureOne(Operators({Operator(kIdentity)}));
    struct Case {
        std::int32_t layer;
        int x, y;  // pixel of the point
        std::int32_t h, k, l;
    };
    const Case cases[] = {
        // Layer 1: (0, 0) of each plane is 001, 010 or 100, at the panel centre.
        {1, 133, 262, 0, 0, 1}, {1, 400, 262, 0, 1, 0}, {1, 667, 262, 1, 0, 0},
        // One step along each axis: the inner index to the right, the outer upward.
        {1, 163, 262, 1, 0, 1}, {1, 133, 232, 0, 1, 1},
        {1, 430, 262, 1, 1, 0}, {1, 400, 232, 0, 1, 1},
        {1, 697, 262, 1, 1, 0}, {1, 667, 232, 1, 0, 1},
        {0, 163, 322, 1, -2, 0}, {0, 370, 202, -1, 0, 2}, {0, 727, 172, 0, 2, 3},
    };
    ReflectionList lists[2];
    CollectReflections(Settings(0.4f, 0), kSquare, kSquareLayout, sites, lists[0]);
    CollectReflections(Settings(0.4f, 1), kSquare, kSquareLayout, sites, lists[1]);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.h) + " " + std::to_string(c.k) + " " + std::to_string(c.l));
        const ReflectionList& list = lists[c.layer];
        const int entry = EntryAt(list, c.x, c.y);
        ASSERT_GE(entry, 0);
        EXPECT_EQ(list.Amplitude[static_cast<std::size_t>(entry)], StructureAmplitude(sites, c.h, c.k, c.l));
    }
    EXPECT_EQ(EntryAt(lists[0], 133, 262), -1) << "000 is never stored";
    EXPECT_EQ(EntryAt(lists[0], 400, 262), -1);
    EXPECT_EQ(EntryAt(lists[0], 667, 262), -1);
}

TEST(CollectReflections, WindowDefaults)
{
    const ReciprocalParameters cell = DefaultCell();
    const AtomSites sites = StructureOne(P121());
    struct Case {
        std::int32_t layer;
        std::array<int, 3> counts;
    };
    for (const Case& c : {Case{0, {92, 114, 142}}, Case{1, {93, 115, 143}}}) {
        SCOPED_TRACE("layer " + std::to_string(c.layer));
        ReflectionList list;
        CollectReflections(Settings(0.4f, c.layer), cell, WindowLayout(0.4f), sites, list);
        EXPECT_EQ(CountsPerPlane(list), c.counts);
        EXPECT_EQ(list.ReflectionCount, c.counts[0] + c.counts[1] + c.counts[2]);
        const float centres[3] = {800 / 6.0f, 400, 800 / 6.0f * 5};
        for (int i = 0; i < list.ReflectionCount; ++i) {
            const std::size_t e = static_cast<std::size_t>(i);
            EXPECT_GE(list.Amplitude[e], 0.0f);
            EXPECT_LE(list.Amplitude[e], static_cast<float>(sites.SiteCount));
            // Every point lies inside its limit circle of radius 120 pixels.
            const int plane = list.PixelX[e] < 266 ? 0 : list.PixelX[e] < 533 ? 1 : 2;
            EXPECT_LE(std::hypot(list.PixelX[e] - centres[plane], list.PixelY[e] - (500 - 238.095)), 121.0)
                << "entry " << i;
        }
    }
}

TEST(CollectReflections, TheListHoldsAtMost2995)
{
    const AtomSites sites = StructureOne(P121());
    ReflectionList list;
    CollectReflections(Settings(2.0f, 0), DefaultCell(), WindowLayout(2.0f), sites, list);
    EXPECT_EQ(list.ReflectionCount, 2995);
    EXPECT_EQ(CountsPerPlane(list), (std::array<int, 3>{2320, 675, 0}));
    // The middle plane keeps the head of its enumeration, its lowest outer
    // rows: all of them below the centre row 262 of the picture.
    for (int i = 2320; i < 2995; ++i)
        EXPECT_GT(list.PixelY[static_cast<std::size_t>(i)], 262) << "entry " << i;
    EXPECT_EQ(list.Amplitude[2995], 0.0f) << "nothing is written past the last entry";
}

TEST(CollectReflections, LimitsThatLeaveFewOrNoEntries)
{
    const AtomSites sites = StructureOne(P121());
    const ReciprocalParameters halves{0.5f, 0.5f, 0.5f, 90, 90, 90};
    struct Case {
        ReciprocalParameters cell;
        float sMax;
        std::int32_t layer;
        int count;
    };
    const Case cases[] = {
        {kSquare, -0.4f, 0, 0}, {kSquare, -0.4f, 1, 0},
        // Below the shortest lattice vector: layer 0 keeps nothing, layer 1 its three centres.
        {kSquare, 0.05f, 0, 0}, {kSquare, 0.05f, 1, 3},
        {kSquare, 0.1f, 0, 12}, {kSquare, 0.1f, 1, 15},
        // (±2, 0) and (0, ±2) at spacing 0.5 lie exactly on a circle of 1, and stay.
        {halves, 1.0f, 0, 36}, {halves, 1.0f, 1, 39},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("SMax " + std::to_string(c.sMax) + " layer " + std::to_string(c.layer));
        ReflectionList list;
        list.ReflectionCount = 123;
        PanelLayout layout = kSquareLayout;
        layout.Scale = 120 / c.sMax;
        CollectReflections(Settings(c.sMax, c.layer), c.cell, layout, sites, list);
        EXPECT_EQ(list.ReflectionCount, c.count);
    }
}

TEST(CollectReflections, PixelPositionsRoundHalvesToEven)
{
    // Only the three layer-1 centres lie inside so small a limit.
    const PanelLayout layout{2400, 132.5f, 236.5f, 400.5f, 236.5f, 667.5f, 236.5f};
    ReflectionList list;
    CollectReflections(Settings(0.05f, 1), kSquare, layout, StructureOne(P121()), list);
    ASSERT_EQ(list.ReflectionCount, 3);
    EXPECT_EQ(list.PixelX[0], 132);
    EXPECT_EQ(list.PixelX[1], 400);
    EXPECT_EQ(list.PixelX[2], 668);
    EXPECT_EQ(list.PixelY[0], 500 - 236);
}

TEST(CollectReflections, BoundsThatCannotBeEnumerated)
{
    const AtomSites sites = StructureOne(P121());
    struct Case {
        const char* name;
        ReciprocalParameters cell;
        float sMax;
        const char* error;
    };
    const Case cases[] = {
        {"γ* of 0°", {0.1f, 0.1f, 0.1f, 90, 90, 0}, 0.4f, error_text::kFloatDivisionByZero},
        {"β* of 0°", {0.1f, 0.1f, 0.1f, 90, 0, 90}, 0.4f, error_text::kFloatDivisionByZero},
        // The first plane fills the list, yet the third plane's bound is still taken.
        {"α* of 0° after a full list", {0.01f, 0.01f, 0.01f, 0, 90, 90}, 0.4f, error_text::kFloatDivisionByZero},
        {"a* of 0", {0, 0.1f, 0.1f, 90, 90, 90}, 0.4f, error_text::kFloatDivisionByZero},
        {"bound beyond 32 bits", {1e-10f, 0.1f, 0.1f, 90, 90, 90}, 0.4f, error_text::kRangeCheck},
        {"bound beyond 64 bits", {1e-20f, 0.1f, 0.1f, 90, 90, 90}, 0.4f, error_text::kInvalidFloatOperation},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ReflectionList list;
        try {
            CollectReflections(Settings(c.sMax, 0), c.cell, kSquareLayout, sites, list);
            ADD_FAILURE() << "no error";
        } catch (const RunTimeError& error) {
            EXPECT_STREQ(error.what(), c.error);
        }
    }
}

TEST(StructureAmplitude, StructureOneInTheFirstMonoclinicGroups)
{
    // The reference values come from an independent evaluation of the same
    // rounding steps; the comments give them to four decimals.
    struct Case {
        const char* group;
        OperatorTable operators;
        std::int32_t h, k, l;
        float amplitude;
    };
    const Case cases[] = {
        {"P121", P121(), 1, 0, 0, 0x1.630e2ep+2f},   // 5.5477
        {"P121", P121(), 0, 1, 0, 0x1.6abbe0p+0f},   // 1.4169
        {"P121", P121(), 0, 0, 1, 0x1.8848c6p-1f},   // 0.7662
        {"P121", P121(), 1, 1, 0, 0x1.7930fep-3f},   // 0.1842
        {"P121", P121(), 0, 2, 0, 0x1.34b4d4p+1f},   // 2.4118
        {"P1211", P1211(), 0, 1, 0, 0x1.6ba2dep-22f},  // extinct: a rounding residue of 3.4e-7
        {"P1211", P1211(), 0, 3, 0, 0x1.2e5c84p-19f},  // extinct: 2.3e-6
        {"P1211", P1211(), 0, 2, 0, 0x1.34b4d4p+1f},   // 2.4118
        {"P1211", P1211(), 1, 1, 0, 0x1.259506p+2f},   // 4.5872
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.group) + " " + std::to_string(c.h) + std::to_string(c.k) + std::to_string(c.l));
        const AtomSites sites = StructureOne(c.operators);
        EXPECT_EQ(StructureAmplitudeReference(sites, c.h, c.k, c.l), c.amplitude);
        EXPECT_EQ(StructureAmplitude(sites, c.h, c.k, c.l), c.amplitude);
    }
    const AtomSites screw = StructureOne(P1211());
    EXPECT_LT(StructureAmplitude(screw, 0, 1, 0), 1e-5f);
    EXPECT_LT(StructureAmplitude(screw, 0, 3, 0), 1e-5f);
}

TEST(StructureAmplitude, FullCapacityStructure)
{
    // 960 sites of Fm-3m: the forward beam counts every site, the centring
    // extinguishes mixed parities, and 200 agrees with a double-precision sum.
    const AtomSites sites = StructureOne(FmMinus3m());
    EXPECT_EQ(StructureAmplitude(sites, 0, 0, 0), 960.0f);
    EXPECT_LT(StructureAmplitude(sites, 1, 0, 0), 1e-3f);
    EXPECT_LT(StructureAmplitude(sites, 1, 1, 0), 1e-3f);
    double c = 0, s = 0;
    for (int i = 0; i < sites.SiteCount; ++i) {
        const double t = 2 * std::numbers::pi * 2 * sites.SiteX[static_cast<std::size_t>(i)];
        c += std::cos(t);
        s += std::sin(t);
    }
    EXPECT_NEAR(StructureAmplitude(sites, 2, 0, 0), std::hypot(c, s), 2e-3);
    EXPECT_LE(StructureAmplitude(sites, 2, 0, 0), 960.0f);
}

}  // namespace
