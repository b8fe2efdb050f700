#pragma once
// A symmetry operator x' = t + M·x in fractional coordinates, and the table of
// the selected group's operators.

#include <array>
#include <cstdint>

struct SymmetryOperator {
    std::array<float, 3> Translation{};                // t1, t2, t3
    std::array<std::array<float, 3>, 3> Matrix{};      // row r: coefficients of x, y, z in the new r-th coordinate
};

inline constexpr int kMaxOperators = 192;

struct OperatorTable {
    // Operator number k (1-based, as the table numbers them) is held at index k - 1.
    std::array<SymmetryOperator, kMaxOperators> Operators{};
    std::int32_t OperatorCount = 0;
};
