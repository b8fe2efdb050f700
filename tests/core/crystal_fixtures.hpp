#pragma once
// Small hand-made operator tables and structures for the crystal tests, so
// that they do not depend on the catalogue's reader.

#include "catalogue/symmetry_operator.hpp"
#include "core/run_settings.hpp"
#include "crystal/structure.hpp"

#include <array>
#include <initializer_list>

namespace crystal_fixtures {

using Rows = std::array<std::array<float, 3>, 3>;

inline constexpr Rows kIdentity = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
inline constexpr Rows kTwofoldY = {{{-1, 0, 0}, {0, 1, 0}, {0, 0, -1}}};

inline SymmetryOperator Operator(const Rows& matrix, std::array<float, 3> translation = {0, 0, 0})
{
    SymmetryOperator op;
    op.Matrix = matrix;
    op.Translation = translation;
    return op;
}

inline OperatorTable Operators(std::initializer_list<SymmetryOperator> list)
{
    OperatorTable table;
    for (const SymmetryOperator& op : list)
        table.Operators[static_cast<std::size_t>(table.OperatorCount++)] = op;
    return table;
}

// The first entries of the group list, in the order the catalogue lists their operators.
inline OperatorTable P121() { return Operators({Operator(kIdentity), Operator(kTwofoldY)}); }
inline OperatorTable P1211() { return Operators({Operator(kIdentity), Operator(kTwofoldY, {0, 0.5f, 0})}); }
inline OperatorTable C121()
{
    return Operators({Operator(kIdentity), Operator(kTwofoldY), Operator(kIdentity, {0.5f, 0.5f, 0}),
                      Operator(kTwofoldY, {0.5f, 0.5f, 0})});
}

// Fm-3m: the 48 signed permutation matrices of m-3m times the four
// face-centring translations: identity first, (−x, y, z) second and
// (½ − z, ½ − y, −x) last.
inline OperatorTable FmMinus3m()
{
    static constexpr int kPermutations[6][3] = {{0, 1, 2}, {1, 2, 0}, {2, 0, 1}, {1, 0, 2}, {0, 2, 1}, {2, 1, 0}};
    static constexpr std::array<float, 3> kCentring[4] = {{0, 0, 0}, {0, 0.5f, 0.5f}, {0.5f, 0, 0.5f}, {0.5f, 0.5f, 0}};
    OperatorTable table;
    for (const auto& translation : kCentring)
        for (const auto& permutation : kPermutations)
            for (int signs = 0; signs < 8; ++signs) {
                SymmetryOperator op;
                for (int r = 0; r < 3; ++r)
                    op.Matrix[r][permutation[r]] = (signs >> r) & 1 ? -1.0f : 1.0f;
                op.Translation = translation;
                table.Operators[static_cast<std::size_t>(table.OperatorCount++)] = op;
            }
    return table;
}

// Structure number 1, expanded with the given operators.
inline AtomSites StructureOne(const OperatorTable& operators)
{
    AtomSites sites;
    RandomState state = 0;
    SeedStructure(1, state, sites);
    ExpandSites(operators, sites);
    return sites;
}

// The settings the reflection enumeration reads, for an 800 × 500 picture.
inline RunSettings Settings(float sMax, std::int32_t layer)
{
    RunSettings settings;
    settings.SMax = sMax;
    settings.SMaxSquared = sMax * sMax;  // single, as the layout stores it
    settings.LayerIndex = layer;
    settings.PictureHeight = 500;
    return settings;
}

}  // namespace crystal_fixtures
