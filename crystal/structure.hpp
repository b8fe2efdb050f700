#pragma once
// The random five-atom structure and its expansion by the symmetry operators.

#include "catalogue/symmetry_operator.hpp"

#include <array>
#include <cstdint>

using RandomState = std::uint32_t;

inline constexpr int kMaxSites = 960;  // five atoms × the largest operator count

struct AtomSites {
    std::array<float, kMaxSites> SiteX{}, SiteY{}, SiteZ{};  // fractional coordinates, not reduced to [0, 1)
    std::int32_t SiteCount = 0;
};

// One step of the 32-bit linear congruential generator; returns state × 2^-32.
double DrawUniform(RandomState& state);

// Seeds the generator with the structure number's bit pattern and draws the
// five atoms (x, y, z atom by atom) into sites 0 to 4.
void SeedStructure(std::int32_t structureNumber, RandomState& state, AtomSites& sites);

// Appends every atom under operators 2 to n, atom-major.
void ExpandSites(const OperatorTable& operators, AtomSites& sites);
