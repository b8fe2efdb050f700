#include "crystal/lattice.hpp"

#include "core/checked_arithmetic.hpp"
#include "core/number_format.hpp"
#include "core/number_readers.hpp"
#include "core/run_errors.hpp"
#include "crystal/extended_constants.hpp"

#include <cmath>
#include <string_view>

namespace {

using extended::kDegree;

enum Row { kA = 0, kB = 1, kC = 2, kAlpha = 3, kBeta = 4, kGamma = 5 };

constexpr char kRightAngle[] = "90.0";
constexpr char kHexagonalAngle[] = "120.0";

CrystalSystem SystemOfPrefix(std::string_view prefix)
{
    // Exact, case-sensitive comparison; a prefix that names none of these
    // falls back to triclinic, which the reciprocal cell then refuses.
    struct Name {
        std::string_view prefix;
        CrystalSystem system;
    };
    static constexpr Name kNames[] = {
        {"triklin", CrystalSystem::Triclinic},   {"monokli", CrystalSystem::Monoclinic},
        {"orthorh", CrystalSystem::Orthorhombic}, {"tetrago", CrystalSystem::Tetragonal},
        {"trigona", CrystalSystem::Trigonal},    {"hexagon", CrystalSystem::Hexagonal},
        {"kubisch", CrystalSystem::Cubic},
    };
    for (const Name& name : kNames)
        if (prefix == name.prefix)
            return name.system;
    return CrystalSystem::Triclinic;
}

}  // namespace

CrystalSystem ApplyLatticeConstraints(const std::string& groupItem, CellTexts& cells)
{
    const CrystalSystem system = SystemOfPrefix(std::string_view(groupItem).substr(0, 7));

    // The copies come first and take row 0 as typed, blanks and all, so a
    // cubic cell with an invalid a is reported by its own text in row 0.
    switch (system) {
    case CrystalSystem::Tetragonal:
    case CrystalSystem::Trigonal:
    case CrystalSystem::Hexagonal:
        cells[kB] = cells[kA];
        break;
    case CrystalSystem::Cubic:
        cells[kB] = cells[kA];
        cells[kC] = cells[kA];
        break;
    default:
        break;
    }

    switch (system) {
    case CrystalSystem::Monoclinic:
        cells[kAlpha] = kRightAngle;
        cells[kGamma] = kRightAngle;
        break;
    case CrystalSystem::Orthorhombic:
    case CrystalSystem::Tetragonal:
    case CrystalSystem::Cubic:
        cells[kAlpha] = kRightAngle;
        cells[kBeta] = kRightAngle;
        cells[kGamma] = kRightAngle;
        break;
    case CrystalSystem::Trigonal:
    case CrystalSystem::Hexagonal:
        cells[kAlpha] = kRightAngle;
        cells[kBeta] = kRightAngle;
        cells[kGamma] = kHexagonalAngle;
        break;
    case CrystalSystem::Triclinic:
        break;
    }
    return system;
}

void ReadLattice(const CellTexts& cells, LatticeParameters& lattice)
{
    float* const fields[6] = {&lattice.A, &lattice.B, &lattice.C, &lattice.Alpha, &lattice.Beta, &lattice.Gamma};
    for (int row = 0; row < 6; ++row) {
        long double value = 0;
        if (!ReadCellNumber(cells[row], value))
            throw RunMessage("Gitterparameter-Test: " + cells[row] + " ist keine gültige Zahl");
        // Written row by row: a later invalid row leaves the earlier fields
        // rewritten, which nothing reads before the next run rewrites them.
        *fields[row] = StoreSingle(value);
    }
}

void ComputeReciprocalCell(CrystalSystem system, const LatticeParameters& lattice, float wavelength,
                           ReciprocalParameters& reciprocal, float& minReciprocalLength)
{
    if (system == CrystalSystem::Triclinic)
        throw RunMessage("Trikline Symmetrie ist nicht vorgesehen");

    const long double lambda = wavelength;
    ReciprocalParameters result;
    if (system == CrystalSystem::Trigonal || system == CrystalSystem::Hexagonal) {
        const long double sinGamma = std::sin(kDegree * lattice.Gamma);
        result.AStar = StoreSingle(CheckedDivide(lambda, sinGamma * lattice.A));
        result.BStar = StoreSingle(CheckedDivide(lambda, sinGamma * lattice.B));
        result.CStar = StoreSingle(CheckedDivide(lambda, static_cast<long double>(lattice.C)));
        result.AlphaStar = 90;
        result.BetaStar = 90;
        // Fixed rather than 180 − γ: γ has been forced to 120 on the way in.
        result.GammaStar = 60;
    } else {
        const long double sinBeta = std::sin(kDegree * lattice.Beta);
        result.AStar = StoreSingle(CheckedDivide(lambda, sinBeta * lattice.A));
        result.BStar = StoreSingle(CheckedDivide(lambda, static_cast<long double>(lattice.B)));
        result.CStar = StoreSingle(CheckedDivide(lambda, sinBeta * lattice.C));
        result.AlphaStar = 90;
        result.BetaStar = StoreSingle(180.0L - lattice.Beta);
        result.GammaStar = 90;
    }

    // Only now, with every value computed, is anything handed out: a fault
    // above leaves the previous reciprocal cell in place.
    reciprocal = result;
    const auto min = [](float x, float y) { return x < y ? x : y; };
    minReciprocalLength = min(result.AStar, min(result.BStar, result.CStar));
}

CellTexts ReciprocalCellTexts(const ReciprocalParameters& reciprocal)
{
    return {
        FormatFixed(reciprocal.AStar, 7, 5),     FormatFixed(reciprocal.BStar, 7, 5),
        FormatFixed(reciprocal.CStar, 7, 5),     FormatFixed(reciprocal.AlphaStar, 5, 1),
        FormatFixed(reciprocal.BetaStar, 5, 1),  FormatFixed(reciprocal.GammaStar, 5, 1),
    };
}
