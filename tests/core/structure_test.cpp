#include "crystal/structure.hpp"

#include "catalogue/group_list.hpp"
#include "catalogue/operator_reader.hpp"
#include "crystal_fixtures.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using namespace crystal_fixtures;

struct Atom {
    double x, y, z;
};

// Structure number 1 to six decimals.
constexpr Atom kStructureOne[5] = {
    {0.031380, 0.861048, 0.202581}, {0.272921, 0.671654, 0.318691}, {0.161795, 0.372238, 0.425674},
    {0.082012, 0.474794, 0.070569}, {0.840854, 0.059724, 0.293297},
};

void ExpectSite(const AtomSites& sites, int index, const Atom& atom)
{
    SCOPED_TRACE("site " + std::to_string(index));
    const std::size_t i = static_cast<std::size_t>(index);
    EXPECT_NEAR(sites.SiteX[i], atom.x, 5e-7);
    EXPECT_NEAR(sites.SiteY[i], atom.y, 5e-7);
    EXPECT_NEAR(sites.SiteZ[i], atom.z, 5e-7);
}

AtomSites Seeded(std::int32_t structureNumber)
{
    AtomSites sites;
    RandomState state = 0;
    SeedStructure(structureNumber, state, sites);
    return sites;
}

TEST(DrawUniform, FollowsTheStatesOfStructureNumberOne)
{
    const RandomState expected[15] = {134775814,  3698175007, 870078620,  1172187917, 2884733762,
                                      1368768587, 694906232,  1598751577, 1828254910, 352239543,
                                      2039224980, 303092965,  3611442298, 256513635,  1259699184};
    RandomState state = 1;
    for (const RandomState next : expected) {
        const double draw = DrawUniform(state);
        EXPECT_EQ(state, next);
        EXPECT_EQ(draw, std::ldexp(static_cast<double>(next), -32));
    }
}

TEST(SeedStructure, StructureNumberOneGivesTheWorkedAtoms)
{
    AtomSites sites;
    sites.SiteCount = 42;
    // Whatever an earlier run left in the generator, the number alone decides.
    RandomState state = 0xDEADBEEF;
    SeedStructure(1, state, sites);
    for (int atom = 0; atom < 5; ++atom)
        ExpectSite(sites, atom, kStructureOne[atom]);
    EXPECT_EQ(state, 1259699184u);
    EXPECT_EQ(sites.SiteCount, 42) << "seeding leaves the site count to the expansion";
}

TEST(SeedStructure, StartsFromTheNumbersBitPattern)
{
    // 0: the first draw is 2^-32, then the draws of number 1 follow, shifted by one.
    AtomSites sites = Seeded(0);
    EXPECT_EQ(sites.SiteX[0], 0x1p-32f);
    ExpectSite(sites, 0, {0.000000, 0.031380, 0.861048});
    ExpectSite(sites, 1, {0.202581, 0.272921, 0.671654});

    // −1 is the state 4294967295.
    sites = Seeded(-1);
    RandomState state = 4294967295u;
    DrawUniform(state);
    EXPECT_EQ(state, 4160191484u);
    EXPECT_NEAR(sites.SiteX[0], 0.968620, 5e-7);
    EXPECT_EQ(sites.SiteX[0], static_cast<float>(4160191484.0 / 4294967296.0));
}

TEST(SeedStructure, RoundsEachDrawToTheNearestSingleTiesToEven)
{
    // 2128343219 makes the first state 2^32 − 128, a draw of exactly 1 − 2^-25:
    // halfway between the largest single below 1 and 1 itself, so it goes to 1.
    EXPECT_EQ(Seeded(2128343219).SiteX[0], 1.0f);
    // One state lower (2^32 − 129) rounds down to the single below 1.
    EXPECT_EQ(Seeded(-1517533210).SiteX[0], std::nextafter(1.0f, 0.0f));
}

TEST(ExpandSites, AppendsAtomMajorAndSkipsOperatorOne)
{
    // P121: (−x, y, −z) of atom a at 5 + (a − 1).
    AtomSites sites = StructureOne(P121());
    EXPECT_EQ(sites.SiteCount, 10);
    for (int atom = 0; atom < 5; ++atom) {
        const Atom& a = kStructureOne[atom];
        ExpectSite(sites, atom, a);
        ExpectSite(sites, 5 + atom, {-a.x, a.y, -a.z});
    }

    // C121: atom 1 under operators 2, 3, 4 at 5, 6, 7; atom 2 from 8 on.
    sites = StructureOne(C121());
    EXPECT_EQ(sites.SiteCount, 20);
    const Atom& a1 = kStructureOne[0];
    const Atom& a2 = kStructureOne[1];
    ExpectSite(sites, 5, {-a1.x, a1.y, -a1.z});
    ExpectSite(sites, 6, {a1.x + 0.5, a1.y + 0.5, a1.z});
    ExpectSite(sites, 7, {0.5 - a1.x, a1.y + 0.5, -a1.z});
    ExpectSite(sites, 8, {-a2.x, a2.y, -a2.z});
    ExpectSite(sites, 9, {a2.x + 0.5, a2.y + 0.5, a2.z});
    ExpectSite(sites, 19, {0.5 - kStructureOne[4].x, kStructureOne[4].y + 0.5, -kStructureOne[4].z});

    // Fm-3m has 192 operators: the sites fill the whole capacity. Atom 5 starts
    // at 5 + 4·191 with operator 2, (−x, y, z), and ends at 959 with the last,
    // (½ − z, ½ − y, −x).
    sites = StructureOne(FmMinus3m());
    EXPECT_EQ(sites.SiteCount, 960);
    const Atom& a5 = kStructureOne[4];
    ExpectSite(sites, 5 + 4 * 191, {-a5.x, a5.y, a5.z});
    ExpectSite(sites, 959, {0.5 - a5.z, 0.5 - a5.y, -a5.x});
    ExpectSite(sites, 5 + 4 * 191 - 1, {0.5 - kStructureOne[3].z, 0.5 - kStructureOne[3].y, -kStructureOne[3].x});
}

// The operators of a group of the built-in table, found by its symbol.
OperatorTable BuiltInOperators(const std::string& symbol)
{
    std::vector<std::string> items;
    GroupLineTable groupLine{};
    BuildGroupList(SpaceGroupTable(), [&](const std::string& item) { items.push_back(item); }, groupLine);
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i].substr(20) == symbol) {
            OperatorTable operators;
            ReadOperators(SpaceGroupTable(), groupLine, static_cast<std::int32_t>(i), operators);
            return operators;
        }
    ADD_FAILURE() << symbol << " is not in the group list";
    return {};
}

TEST(ExpandSites, FillsTheSitesOfBuiltInGroups)
{
    // The fixtures above stand for these entries; the table must agree with them.
    struct Case {
        const char* symbol;
        OperatorTable fixture;
        std::int32_t siteCount;
    };
    const Case cases[] = {
        {"P121    ", P121(), 10}, {"P1211   ", P1211(), 10}, {"C121    ", C121(), 20}, {"FM-3M   ", FmMinus3m(), 960},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.symbol);
        const AtomSites sites = StructureOne(BuiltInOperators(c.symbol));
        EXPECT_EQ(sites.SiteCount, c.siteCount);
        if (c.siteCount != 960) {
            // Same operators in the same order: the same sites.
            const AtomSites expected = StructureOne(c.fixture);
            for (int i = 0; i < c.siteCount; ++i) {
                const std::size_t e = static_cast<std::size_t>(i);
                EXPECT_EQ(sites.SiteX[e], expected.SiteX[e]) << "site " << i;
                EXPECT_EQ(sites.SiteY[e], expected.SiteY[e]) << "site " << i;
                EXPECT_EQ(sites.SiteZ[e], expected.SiteZ[e]) << "site " << i;
            }
        }
    }
}

TEST(ExpandSites, NeverAppliesTheFirstOperatorAndNeverReduces)
{
    // Operator 1 stands for the seed sites whatever the table holds there.
    const OperatorTable table = Operators({Operator(kTwofoldY, {0.25f, 0.25f, 0.25f}), Operator(kIdentity, {1, 2, 3})});
    const AtomSites sites = StructureOne(table);
    EXPECT_EQ(sites.SiteCount, 10);
    for (int atom = 0; atom < 5; ++atom) {
        const Atom& a = kStructureOne[atom];
        ExpectSite(sites, atom, a);
        ExpectSite(sites, 5 + atom, {a.x + 1, a.y + 2, a.z + 3});
    }

    // A group with the identity alone keeps just the seed atoms.
    EXPECT_EQ(StructureOne(Operators({Operator(kIdentity)})).SiteCount, 5);

    // P1211: the screw axis moves atom 1 outside the unit cell, and it stays there.
    const AtomSites screw = StructureOne(P1211());
    ExpectSite(screw, 5, {-0.031380, 1.361048, -0.202581});
}

TEST(ExpandSites, RoundsEachCoordinateOnceFromExtendedPrecision)
{
    // x' = x + y + z + 0.333: rounding after each addition would give
    // 0x1.6d9204p+0 for atom 1 and 0x1.ebb65ap-1 for atom 4.
    const Rows sum = {{{1, 1, 1}, {0, 1, 0}, {0, 0, 1}}};
    const AtomSites sites = StructureOne(Operators({Operator(kIdentity), Operator(sum, {0.333f, 0, 0})}));
    EXPECT_EQ(sites.SiteX[5], 0x1.6d9206p+0f);
    EXPECT_EQ(sites.SiteX[8], 0x1.ebb658p-1f);
    EXPECT_EQ(sites.SiteX[9], 0x1.86e14cp+0f);
}

TEST(ExpandSites, OverwritesWhatAnEarlierRunLeft)
{
    AtomSites sites = StructureOne(FmMinus3m());
    RandomState state = 0;
    SeedStructure(1, state, sites);
    ExpandSites(P121(), sites);
    EXPECT_EQ(sites.SiteCount, 10);
    const AtomSites fresh = StructureOne(P121());
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(sites.SiteX[static_cast<std::size_t>(i)], fresh.SiteX[static_cast<std::size_t>(i)]);
        EXPECT_EQ(sites.SiteZ[static_cast<std::size_t>(i)], fresh.SiteZ[static_cast<std::size_t>(i)]);
    }
}

}  // namespace
