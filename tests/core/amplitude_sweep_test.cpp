// The whole catalogue at the window's defaults and the largest list: the fast
// enumeration and amplitudes against the literal ones, bit for bit.

#include "amplitude_oracle.hpp"
#include "catalogue/group_list.hpp"
#include "catalogue/operator_reader.hpp"
#include "crystal/amplitude_kernel.hpp"
#include "crystal/lattice.hpp"
#include "crystal/reflections.hpp"
#include "crystal/structure.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <string>
#include <vector>

namespace {

using amplitude_kernel::Isa;

struct Catalogue {
    std::vector<std::string> items;
    GroupLineTable groupLine{};
    Catalogue()
    {
        BuildGroupList(SpaceGroupTable(), [this](const std::string& item) { items.push_back(item); }, groupLine);
    }
};

const Catalogue& TheCatalogue()
{
    static const Catalogue catalogue;
    return catalogue;
}

struct PreparedRun {
    RunSettings settings;
    ReciprocalParameters reciprocal;
    PanelLayout layout;
    AtomSites sites;
};

// The window's run from the structure to the layout, without the window:
// the default cell as typed, forced by the group's crystal system.
PreparedRun PrepareRun(int group, std::int32_t structureNumber, std::int32_t layer, float sMax, std::int32_t resolution,
               const CellTexts& typedCell = {"900", "1100", "1350", "90", "110", "90"})
{
    const Catalogue& catalogue = TheCatalogue();
    PreparedRun run;
    RunSettings& settings = run.settings;
    settings.ResolutionFactor = resolution;
    settings.PictureWidth = 800 * resolution;
    settings.PictureHeight = 500 * resolution;
    settings.Wavelength = 70.926f;
    settings.SMax = sMax;
    settings.LayerIndex = layer;
    settings.StructureNumber = structureNumber;
    settings.SelectedGroup = group;

    RandomState random = 0;
    SeedStructure(structureNumber, random, run.sites);
    CellTexts cells = typedCell;
    const CrystalSystem system = ApplyLatticeConstraints(catalogue.items[static_cast<std::size_t>(group)], cells);
    LatticeParameters lattice;
    ReadLattice(cells, lattice);
    float minLength = 0;
    ComputeReciprocalCell(system, lattice, settings.Wavelength, run.reciprocal, minLength);
    OperatorTable operators;
    ReadOperators(SpaceGroupTable(), catalogue.groupLine, group, operators);
    ExpandSites(operators, run.sites);

    // The geometry LayoutPanels fixes.
    const long double width = settings.PictureWidth, height = settings.PictureHeight;
    run.layout.Scale = static_cast<float>(width * 0.9L / (6.0L * sMax));
    settings.SMaxSquared = static_cast<float>(static_cast<long double>(sMax) * sMax);
    run.layout.Centre1X = static_cast<float>(width / 6.0L);
    run.layout.Centre1Y = static_cast<float>(height / 2.1L);
    run.layout.Centre2X = static_cast<float>(width / 2.0L);
    run.layout.Centre2Y = run.layout.Centre1Y;
    run.layout.Centre3X = static_cast<float>((width / 6.0L) * 5.0L);
    run.layout.Centre3Y = run.layout.Centre1Y;
    return run;
}

// The reference enumeration records the Miller indices it hands to the
// amplitude, so every instruction set can be checked on the same reflections.
struct Recorded {
    std::int32_t hkl[kMaxReflections][3];
    int count = 0;
    void Add(std::int32_t h, std::int32_t k, std::int32_t l)
    {
        ASSERT_LT(count, kMaxReflections);
        hkl[count][0] = h;
        hkl[count][1] = k;
        hkl[count][2] = l;
        ++count;
    }
} recorded;

float RecordOracle(const AtomSites& sites, std::int32_t h, std::int32_t k, std::int32_t l)
{
    recorded.Add(h, k, l);
    return amplitude_oracle::Amplitude(sites, h, k, l);
}

float RecordLiteral(const AtomSites& sites, std::int32_t h, std::int32_t k, std::int32_t l)
{
    recorded.Add(h, k, l);
    return StructureAmplitudeReference(sites, h, k, l);
}

// Count, order, pixels and amplitude bits; returns the number of differing
// entries so that a broken run reports once, not thousands of times.
int Differences(const ReflectionList& fast, const ReflectionList& reference)
{
    EXPECT_EQ(fast.ReflectionCount, reference.ReflectionCount);
    int differences = 0;
    for (int i = 0; i < reference.ReflectionCount && i < fast.ReflectionCount; ++i) {
        const std::size_t e = static_cast<std::size_t>(i);
        if (fast.PixelX[e] != reference.PixelX[e] || fast.PixelY[e] != reference.PixelY[e]
            || std::bit_cast<std::uint32_t>(fast.Amplitude[e]) != std::bit_cast<std::uint32_t>(reference.Amplitude[e]))
            ++differences;
    }
    return differences;
}

// The amplitudes of the recorded reflections on every instruction set the
// processor offers, against the reference list's.
int IsaDifferences(const AtomSites& sites, const ReflectionList& reference)
{
    EXPECT_EQ(recorded.count, reference.ReflectionCount);
    int differences = 0;
    std::vector<float> amplitudes(static_cast<std::size_t>(recorded.count));
    for (const Isa isa : {Isa::Baseline, Isa::Avx2, Isa::Avx512}) {
        if (!amplitude_kernel::IsaAvailable(isa))
            continue;
        amplitude_kernel::Options options;
        options.isa = isa;
        const int count = recorded.count;
        EXPECT_EQ(amplitude_kernel::StructureAmplitudes(sites, recorded.hkl, count, amplitudes.data(), options), count);
        for (int i = 0; i < count; ++i)
            if (std::bit_cast<std::uint32_t>(amplitudes[static_cast<std::size_t>(i)])
                != std::bit_cast<std::uint32_t>(reference.Amplitude[static_cast<std::size_t>(i)]))
                ++differences;
    }
    return differences;
}

TEST(AmplitudeSweep, EveryGroupAtTheWindowDefaults)
{
    const int groups = static_cast<int>(TheCatalogue().items.size());
    ASSERT_EQ(groups, 228);
    for (int group = 0; group < groups; ++group) {
        for (const std::int32_t structure : {1, 2, 7, 1000}) {
            for (const std::int32_t layer : {0, 1}) {
                SCOPED_TRACE(TheCatalogue().items[static_cast<std::size_t>(group)] + " structure "
                             + std::to_string(structure) + " layer " + std::to_string(layer));
                const PreparedRun run = PrepareRun(group, structure, layer, 0.4f, 1);
                ReflectionList fast, reference;
                CollectReflections(run.settings, run.reciprocal, run.layout, run.sites, fast);
                recorded.count = 0;
                CollectReflectionsReference(run.settings, run.reciprocal, run.layout, run.sites, reference,
                                            RecordOracle);
                ASSERT_GT(reference.ReflectionCount, 200);
                ASSERT_EQ(Differences(fast, reference), 0);
                // The other instruction sets on one structure per group: the
                // processor's own one has just been checked on all four.
                if (structure == 1) {
                    ASSERT_EQ(IsaDifferences(run.sites, reference), 0);
                }
            }
        }
    }
}

TEST(AmplitudeSweep, TheLargestListAtBothResolutions)
{
    // Fm-3m: 960 sites; a limit of 2 fills all 2995 entries (the cubic cell
    // of a = 900 pm puts 2023 in the first plane).
    int group = -1;
    for (std::size_t i = 0; i < TheCatalogue().items.size(); ++i)
        if (TheCatalogue().items[i].find(" 225 FM-3M") != std::string::npos)
            group = static_cast<int>(i);
    ASSERT_GE(group, 0);

    const PreparedRun normal = PrepareRun(group, 1, 0, 2.0f, 1);
    ASSERT_EQ(normal.sites.SiteCount, 960);
    ReflectionList reference;
    recorded.count = 0;
    CollectReflectionsReference(normal.settings, normal.reciprocal, normal.layout, normal.sites, reference,
                                RecordLiteral);
    ASSERT_EQ(reference.ReflectionCount, 2995);

    // The oracle the catalogue sweep relies on, held to the literal reference.
    int oracleDifferences = 0;
    for (int i = 0; i < recorded.count; ++i) {
        const std::int32_t* hkl = recorded.hkl[i];
        if (std::bit_cast<std::uint32_t>(amplitude_oracle::Amplitude(normal.sites, hkl[0], hkl[1], hkl[2]))
            != std::bit_cast<std::uint32_t>(reference.Amplitude[static_cast<std::size_t>(i)]))
            ++oracleDifferences;
    }
    EXPECT_EQ(oracleDifferences, 0);
    EXPECT_EQ(IsaDifferences(normal.sites, reference), 0);

    ReflectionList fast;
    CollectReflections(normal.settings, normal.reciprocal, normal.layout, normal.sites, fast);
    EXPECT_EQ(Differences(fast, reference), 0);

    // The high resolution changes the scale and the pixel rounding only: the
    // same reflections in the same order, the pixels as the literal
    // enumeration rounds them.
    const PreparedRun high = PrepareRun(group, 1, 0, 2.0f, 2);
    ReflectionList highReference, highFast;
    CollectReflectionsReference(high.settings, high.reciprocal, high.layout, high.sites, highReference,
                                [](const AtomSites&, std::int32_t, std::int32_t, std::int32_t) { return 0.0f; });
    for (int i = 0; i < highReference.ReflectionCount; ++i)
        highReference.Amplitude[static_cast<std::size_t>(i)] = reference.Amplitude[static_cast<std::size_t>(i)];
    CollectReflections(high.settings, high.reciprocal, high.layout, high.sites, highFast);
    EXPECT_EQ(Differences(highFast, highReference), 0);
    EXPECT_NE(highFast.PixelX[100], fast.PixelX[100]);
}

}  // namespace
