#include "crystal/structure.hpp"

#include "core/checked_arithmetic.hpp"

namespace {

constexpr std::uint32_t kMultiplier = 134775813u;  // 0x08088405
constexpr double kTwoToMinus32 = 2.3283064365386963e-10;

// One new coordinate in the order ((M1·x + T) + M2·y) + M3·z, evaluated in
// extended precision and rounded once: the amplitudes are sums of thousands of
// sines of these values, so a different association shows in their last bits.
float Transform(const std::array<float, 3>& row, float translation, float x, float y, float z)
{
    const long double value = ((static_cast<long double>(row[0]) * x + translation) + static_cast<long double>(row[1]) * y)
                              + static_cast<long double>(row[2]) * z;
    return StoreSingle(value);
}

}  // namespace

double DrawUniform(RandomState& state)
{
    // Unsigned 32-bit arithmetic keeps exactly the low 32 bits of the product.
    state = state * kMultiplier + 1u;
    // Exact in double: a 32-bit integer times a power of two.
    return static_cast<double>(state) * kTwoToMinus32;
}

void SeedStructure(std::int32_t structureNumber, RandomState& state, AtomSites& sites)
{
    state = static_cast<RandomState>(structureNumber);  // two's-complement bit pattern
    for (int atom = 0; atom < 5; ++atom) {
        // Rounded to nearest, ties to even: a draw of 1 − 2^-25 or more becomes 1.0.
        sites.SiteX[atom] = StoreSingle(DrawUniform(state));
        sites.SiteY[atom] = StoreSingle(DrawUniform(state));
        sites.SiteZ[atom] = StoreSingle(DrawUniform(state));
    }
}

void ExpandSites(const OperatorTable& operators, AtomSites& sites)
{
    const std::int32_t n = operators.OperatorCount;
    sites.SiteCount = 5;
    // Atom-major, and only the seed atoms are transformed: operator o of atom a
    // lands at 5 + (a − 1)(n − 1) + (o − 2). Operator 1 is the identity, which
    // the seed sites already stand for.
    for (int atom = 0; atom < 5; ++atom) {
        const float x = sites.SiteX[atom], y = sites.SiteY[atom], z = sites.SiteZ[atom];
        for (std::int32_t o = 1; o < n; ++o) {
            CheckIndex(o, kMaxOperators);
            const SymmetryOperator& op = operators.Operators[static_cast<std::size_t>(o)];
            const std::int32_t index = sites.SiteCount;
            CheckIndex(index, kMaxSites);
            sites.SiteX[index] = Transform(op.Matrix[0], op.Translation[0], x, y, z);
            sites.SiteY[index] = Transform(op.Matrix[1], op.Translation[1], x, y, z);
            sites.SiteZ[index] = Transform(op.Matrix[2], op.Translation[2], x, y, z);
            sites.SiteCount = CheckedAdd(sites.SiteCount, 1);
        }
    }
}
