#pragma once
// The direct cell typed into the lattice grid and the wavelength-scaled
// reciprocal cell computed from it.

#include <array>
#include <cstdint>
#include <string>

enum class CrystalSystem : std::int32_t {
    Triclinic = 0,  // also any group-list prefix that names no known system
    Monoclinic = 1,
    Orthorhombic = 2,
    Tetragonal = 3,
    Trigonal = 4,
    Hexagonal = 5,
    Cubic = 6,
};

struct LatticeParameters {
    float A = 0, B = 0, C = 0;              // pm
    float Alpha = 0, Beta = 0, Gamma = 0;  // degrees
};

struct ReciprocalParameters {
    float AStar = 0, BStar = 0, CStar = 0;              // λ / d(100), λ / d(010), λ / d(001)
    float AlphaStar = 0, BetaStar = 0, GammaStar = 0;  // degrees
};

// The six cell texts of a grid column, rows a, b, c, α, β, γ.
using CellTexts = std::array<std::string, 6>;

// Derives the crystal system from the first seven characters of the group-list
// item and overwrites the cells that the system fixes (copies of a first, then
// the fixed angles).
CrystalSystem ApplyLatticeConstraints(const std::string& groupItem, CellTexts& cells);

// Reads the six cells in row order; the first invalid one throws the RunMessage
// "Gitterparameter-Test: <text> ist keine gültige Zahl".
void ReadLattice(const CellTexts& cells, LatticeParameters& lattice);

// The reciprocal cell (β set or γ set) and its smallest length. A triclinic
// system throws the RunMessage "Trikline Symmetrie ist nicht vorgesehen";
// arithmetic faults throw RunTimeErrors. Nothing is written on failure.
void ComputeReciprocalCell(CrystalSystem system, const LatticeParameters& lattice, float wavelength,
                           ReciprocalParameters& reciprocal, float& minReciprocalLength);

// The texts of the reciprocal-cell grid: "%7.5f" for the lengths, "%5.1f" for the angles.
CellTexts ReciprocalCellTexts(const ReciprocalParameters& reciprocal);
