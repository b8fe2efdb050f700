#include "crystal/lattice.hpp"

#include "core/run_errors.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

constexpr float kMolybdenum = 70.926f;

// Group-list items as the catalogue builds them: "%-14s%5s %-8s".
const std::string kMonoclinic = "monoklin        302 P121    ";
const std::string kOrthorhombic = "orthorhombisch   16 P222    ";
const std::string kTetragonal = "tetragonal       75 P4      ";
const std::string kTrigonal = "trigonal        143 P3      ";
const std::string kHexagonal = "hexagonal       168 P6      ";
const std::string kCubic = "kubisch         195 P23     ";
const std::string kTriclinic = "triklin           1 P1      ";

const CellTexts kDefaultCells = {"900", "1100", "1350", "90.0", "110.0", "90.0"};

// The three lattice steps of a run, in the run's order.
void RunLatticeSteps(const std::string& item, CellTexts& cells, float wavelength, ReciprocalParameters& reciprocal,
                     float& minReciprocalLength)
{
    const CrystalSystem system = ApplyLatticeConstraints(item, cells);
    LatticeParameters lattice;
    ReadLattice(cells, lattice);
    ComputeReciprocalCell(system, lattice, wavelength, reciprocal, minReciprocalLength);
}

std::string MessageOf(const std::string& item, CellTexts cells)
{
    ReciprocalParameters reciprocal;
    float minLength = 0;
    try {
        RunLatticeSteps(item, cells, kMolybdenum, reciprocal, minLength);
    } catch (const RunMessage& message) {
        return message.what();
    }
    return "(no message)";
}

TEST(ApplyLatticeConstraints, ForcesTheCellsThatEachSystemFixes)
{
    // Distinct texts show which row went where; the blank in row 0 must survive the copies.
    const CellTexts typed = {" a", "b", "c", "al", "be", "ga"};
    struct Case {
        std::string item;
        CrystalSystem system;
        CellTexts expected;
    };
    const Case cases[] = {
        {kTriclinic, CrystalSystem::Triclinic, typed},
        {kMonoclinic, CrystalSystem::Monoclinic, {" a", "b", "c", "90.0", "be", "90.0"}},
        {kOrthorhombic, CrystalSystem::Orthorhombic, {" a", "b", "c", "90.0", "90.0", "90.0"}},
        {kTetragonal, CrystalSystem::Tetragonal, {" a", " a", "c", "90.0", "90.0", "90.0"}},
        {kTrigonal, CrystalSystem::Trigonal, {" a", " a", "c", "90.0", "90.0", "120.0"}},
        {kHexagonal, CrystalSystem::Hexagonal, {" a", " a", "c", "90.0", "90.0", "120.0"}},
        {kCubic, CrystalSystem::Cubic, {" a", " a", " a", "90.0", "90.0", "90.0"}},
        // Only the first seven characters count, exactly and with case.
        {"kubisch", CrystalSystem::Cubic, {" a", " a", " a", "90.0", "90.0", "90.0"}},
        {"hexagonXYZ", CrystalSystem::Hexagonal, {" a", " a", "c", "90.0", "90.0", "120.0"}},
        {"Kubisch         195 P23     ", CrystalSystem::Triclinic, typed},
        {"kubisc", CrystalSystem::Triclinic, typed},
        {" kubisch", CrystalSystem::Triclinic, typed},
        {"", CrystalSystem::Triclinic, typed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("item \"" + c.item + "\"");
        CellTexts cells = typed;
        EXPECT_EQ(ApplyLatticeConstraints(c.item, cells), c.system);
        EXPECT_EQ(cells, c.expected);
    }
}

TEST(LatticeSteps, WorkedGridsOfTheReciprocalCell)
{
    struct Case {
        const char* name;
        std::string item;
        CellTexts typed;
        CellTexts forced;
        CellTexts shown;
    };
    const Case cases[] = {
        {"window defaults, monoclinic", kMonoclinic, kDefaultCells, kDefaultCells,
         {"0.08386", "0.06448", "0.05591", " 90.0", " 70.0", " 90.0"}},
        {"the same cell, orthorhombic", kOrthorhombic, kDefaultCells,
         {"900", "1100", "1350", "90.0", "90.0", "90.0"},
         {"0.07881", "0.06448", "0.05254", " 90.0", " 90.0", " 90.0"}},
        {"hexagonal", kHexagonal, {"500", "1100", "800", "90.0", "110.0", "90.0"},
         {"500", "500", "800", "90.0", "90.0", "120.0"},
         {"0.16380", "0.16380", "0.08866", " 90.0", " 90.0", " 60.0"}},
        {"cubic, a with a leading blank", kCubic, {" 400", "1100", "1350", "90.0", "110.0", "90.0"},
         {" 400", " 400", " 400", "90.0", "90.0", "90.0"},
         {"0.17732", "0.17732", "0.17732", " 90.0", " 90.0", " 90.0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CellTexts cells = c.typed;
        ReciprocalParameters reciprocal;
        float minLength = -1;
        RunLatticeSteps(c.item, cells, kMolybdenum, reciprocal, minLength);
        EXPECT_EQ(cells, c.forced);
        EXPECT_EQ(ReciprocalCellTexts(reciprocal), c.shown);
        EXPECT_EQ(minLength, std::min({reciprocal.AStar, reciprocal.BStar, reciprocal.CStar}));
    }
}

TEST(LatticeSteps, DefaultCellInDetail)
{
    CellTexts cells = kDefaultCells;
    ReciprocalParameters reciprocal;
    float minLength = 0;
    RunLatticeSteps(kMonoclinic, cells, kMolybdenum, reciprocal, minLength);
    EXPECT_NEAR(reciprocal.AStar, 0.0838648, 5e-7);
    EXPECT_NEAR(reciprocal.BStar, 0.0644782, 5e-7);
    EXPECT_NEAR(reciprocal.CStar, 0.0559095, 5e-7);
    EXPECT_EQ(reciprocal.AlphaStar, 90.0f);
    EXPECT_EQ(reciprocal.BetaStar, 70.0f);
    EXPECT_EQ(reciprocal.GammaStar, 90.0f);
    EXPECT_EQ(minLength, reciprocal.CStar);

    // Copper: the lengths scale with the wavelength, the angles do not.
    cells = kDefaultCells;
    ReciprocalParameters copper;
    RunLatticeSteps(kMonoclinic, cells, 154.051f, copper, minLength);
    EXPECT_NEAR(copper.AStar / reciprocal.AStar, 154.051 / 70.926, 1e-6);
    EXPECT_EQ(copper.BetaStar, 70.0f);
}

TEST(LatticeSteps, GammaSetIgnoresBetaAndFixesGammaStar)
{
    // The γ set reads γ, never β: a β that would divide by zero in the β set
    // is harmless here once the constraints have run, and even without them.
    const LatticeParameters lattice{500, 500, 800, 90, 0, 120};
    ReciprocalParameters reciprocal;
    float minLength = 0;
    ComputeReciprocalCell(CrystalSystem::Trigonal, lattice, kMolybdenum, reciprocal, minLength);
    EXPECT_NEAR(reciprocal.AStar, 70.926 / (500 * std::sqrt(3.0) / 2), 1e-7);
    EXPECT_NEAR(reciprocal.CStar, 70.926 / 800, 1e-7);
    EXPECT_EQ(reciprocal.BetaStar, 90.0f);
    EXPECT_EQ(reciprocal.GammaStar, 60.0f);
    EXPECT_EQ(minLength, reciprocal.CStar);
}

TEST(ReadLattice, ReadsTheCellFormat)
{
    struct Case {
        const char* text;
        float value;
    };
    const Case cases[] = {
        {"1e3", 1000}, {" 900", 900}, {".", 0}, {"+.5", 0.5f}, {"-12.5E-1", -1.25f}, {"0.1", 0.1f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CellTexts cells = kDefaultCells;
        cells[2] = c.text;
        LatticeParameters lattice;
        ReadLattice(cells, lattice);
        EXPECT_EQ(lattice.C, c.value);
        EXPECT_EQ(lattice.A, 900.0f);
        EXPECT_EQ(lattice.Beta, 110.0f);
        EXPECT_EQ(lattice.Gamma, 90.0f);
    }
}

TEST(ReadLattice, NamesTheFirstInvalidCell)
{
    struct Case {
        const char* name;
        std::string item;
        CellTexts cells;
        std::string message;
    };
    const Case cases[] = {
        {"decimal comma", kMonoclinic, {"900", "1100", "1350", "90.0", "90,0", "90.0"},
         "Gitterparameter-Test: 90,0 ist keine gültige Zahl"},
        {"empty cell", kMonoclinic, {"900", "", "1350", "90.0", "110.0", "90.0"},
         "Gitterparameter-Test:  ist keine gültige Zahl"},
        {"trailing blank", kMonoclinic, {"900 ", "1100", "1350", "90.0", "110.0", "90.0"},
         "Gitterparameter-Test: 900  ist keine gültige Zahl"},
        {"blanks only", kMonoclinic, {"900", "1100", "  ", "90.0", "110.0", "90.0"},
         "Gitterparameter-Test:    ist keine gültige Zahl"},
        {"lone sign", kMonoclinic, {"900", "1100", "-", "90.0", "110.0", "90.0"},
         "Gitterparameter-Test: - ist keine gültige Zahl"},
        {"exponent without digits", kMonoclinic, {"900", "1100", "1350", "90.0", "1e", "90.0"},
         "Gitterparameter-Test: 1e ist keine gültige Zahl"},
        {"two invalid cells", kMonoclinic, {"900", "1100", "13x50", "90.0", "abc", "90.0"},
         "Gitterparameter-Test: 13x50 ist keine gültige Zahl"},
        // A forced cell is read as forced: the invalid β of an orthorhombic cell is gone.
        {"forced cell replaces an invalid one", kOrthorhombic, {"900", "1100", "1350", "90.0", "?", "x"},
         "(no message)"},
        // The copies are made before reading, so the message names row 0's own text.
        {"cubic with an invalid a", kCubic, {"4,00", "1100", "x", "90.0", "110.0", "90.0"},
         "Gitterparameter-Test: 4,00 ist keine gültige Zahl"},
        // The triclinic refusal comes only after all six cells were read.
        {"unknown prefix, valid cells", "unbekannt        1 P1      ", kDefaultCells,
         "Trikline Symmetrie ist nicht vorgesehen"},
        {"unknown prefix, invalid cell", "unbekannt        1 P1      ",
         {"900", "1100", "1350", "90.0", "110.0", "9O.0"}, "Gitterparameter-Test: 9O.0 ist keine gültige Zahl"},
        {"triclinic entry", kTriclinic, kDefaultCells, "Trikline Symmetrie ist nicht vorgesehen"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(MessageOf(c.item, c.cells), c.message);
    }
}

TEST(ApplyLatticeConstraints, CubicCopiesStayAfterAnInvalidA)
{
    CellTexts cells = {"4,00", "1100", "1350", "90.0", "110.0", "90.0"};
    const CrystalSystem system = ApplyLatticeConstraints(kCubic, cells);
    LatticeParameters lattice;
    EXPECT_THROW(ReadLattice(cells, lattice), RunMessage);
    EXPECT_EQ(cells, (CellTexts{"4,00", "4,00", "4,00", "90.0", "90.0", "90.0"}));
    EXPECT_EQ(system, CrystalSystem::Cubic);
}

TEST(LatticeSteps, ArithmeticFaultsLeaveTheReciprocalCellUntouched)
{
    struct Case {
        const char* name;
        std::string item;
        CellTexts cells;
        const char* error;
    };
    const Case cases[] = {
        {"monoclinic beta 0", kMonoclinic, {"900", "1100", "1350", "90.0", "0", "90.0"},
         error_text::kFloatDivisionByZero},
        {"a of 0", kMonoclinic, {"0", "1100", "1350", "90.0", "110.0", "90.0"}, error_text::kFloatDivisionByZero},
        {"b of -0", kOrthorhombic, {"900", "-0", "1350", "90.0", "110.0", "90.0"},
         error_text::kFloatDivisionByZero},
        {"hexagonal c of 0", kHexagonal, {"500", "500", ".", "90.0", "90.0", "120.0"},
         error_text::kFloatDivisionByZero},
        // Too small for a single: it underflows to zero on the way in.
        {"a of 1e-50", kOrthorhombic, {"1e-50", "1100", "1350", "90.0", "90.0", "90.0"},
         error_text::kFloatDivisionByZero},
        {"a cell too large for single", kMonoclinic, {"900", "1e39", "1350", "90.0", "110.0", "90.0"},
         error_text::kFloatOverflow},
        {"an angle too large for single", kMonoclinic, {"900", "1100", "1350", "90.0", "-4e38", "90.0"},
         error_text::kFloatOverflow},
        {"a cell beyond extended range", kMonoclinic, {"900", "1100", "1e99999", "90.0", "110.0", "90.0"},
         error_text::kFloatOverflow},
        // Valid as a cell (a denormal single), but λ / a does not fit a single.
        {"a reciprocal length too large", kOrthorhombic, {"900", "1e-44", "1350", "90.0", "90.0", "90.0"},
         error_text::kFloatOverflow},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ReciprocalParameters before{1, 2, 3, 4, 5, 6};
        ReciprocalParameters reciprocal = before;
        float minLength = 7;
        CellTexts cells = c.cells;
        try {
            RunLatticeSteps(c.item, cells, kMolybdenum, reciprocal, minLength);
            ADD_FAILURE() << "no error";
        } catch (const RunTimeError& error) {
            EXPECT_STREQ(error.what(), c.error);
        }
        EXPECT_EQ(ReciprocalCellTexts(reciprocal), ReciprocalCellTexts(before));
        EXPECT_EQ(minLength, 7.0f);
    }
}

TEST(LatticeSteps, UncaughtValuesPassThrough)
{
    // Negative lengths and a β of 180 are not errors: the values go on to the later steps.
    ReciprocalParameters reciprocal;
    float minLength = 0;
    LatticeParameters lattice{-900, 1100, 1350, 90, 110, 90};
    ComputeReciprocalCell(CrystalSystem::Monoclinic, lattice, kMolybdenum, reciprocal, minLength);
    EXPECT_LT(reciprocal.AStar, 0.0f);
    EXPECT_EQ(minLength, reciprocal.AStar);

    lattice = {900, 1100, 1350, 90, 180, 90};
    ComputeReciprocalCell(CrystalSystem::Monoclinic, lattice, kMolybdenum, reciprocal, minLength);
    EXPECT_GT(std::abs(reciprocal.AStar), 1e10f);
    EXPECT_EQ(reciprocal.BetaStar, 0.0f);
}

TEST(ReciprocalCellTexts, FormatsLikePrintfInTheCLocale)
{
    // printf under the C locale is the yardstick for width, padding and rounding.
    const float values[] = {0.0838648f, 0.5f, 123.456789f, -0.0838648f, 0.000004f, 1e10f, 90.0f, 70.0f,
                            60.0f, 5.25f, 0.05f, 179.96f, -10.0f, 1234.56f, 0.0f};
    for (const float value : values) {
        char lengthText[64], angleText[64];
        std::snprintf(lengthText, sizeof lengthText, "%7.5f", static_cast<double>(value));
        std::snprintf(angleText, sizeof angleText, "%5.1f", static_cast<double>(value));
        const CellTexts texts = ReciprocalCellTexts({value, value, value, value, value, value});
        EXPECT_EQ(texts[0], lengthText);
        EXPECT_EQ(texts[2], lengthText);
        EXPECT_EQ(texts[3], angleText);
        EXPECT_EQ(texts[5], angleText);
    }
    // The widest value of all still comes out whole.
    EXPECT_EQ(ReciprocalCellTexts({-3.4e38f, 0, 0, 0, 0, 0})[0].size(), 46u);
}

TEST(ReciprocalCellTexts, UsesAPointUnderACommaLocale)
{
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    const char* const german[] = {"de_DE.UTF-8", "de_DE.utf8", "de_DE"};
    const char* found = nullptr;
    for (const char* name : german)
        if ((found = std::setlocale(LC_ALL, name)) != nullptr)
            break;
    if (found == nullptr)
        GTEST_SKIP() << "no German locale installed";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 0.5);
    const CellTexts texts = ReciprocalCellTexts({0.0838648f, 0.5f, 1, 90, 70.25f, 60});
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_STREQ(probe, "0,5") << "the locale should use a decimal comma";
    EXPECT_EQ(texts, (CellTexts{"0.08386", "0.50000", "1.00000", " 90.0", " 70.2", " 60.0"}));
}

}  // namespace
