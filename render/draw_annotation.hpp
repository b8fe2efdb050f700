#pragma once
// The text block above the patterns (cells, system and structure number,
// space group in "Lösung"; the free text always) and the credit line in the
// bottom-right corner. The last drawing step of a run.

#include "core/run_settings.hpp"
#include "crystal/lattice.hpp"
#include "render/canvas.hpp"
#include "render/panel_layout.hpp"

#include <cstdint>
#include <string>

// The credit line: the copyright sign, drawn in "Symbol", then the credit
// text in "Arial". Its last character, a blank, ends at the right edge.
inline constexpr char kCreditSign[] = "©";
inline constexpr char kCreditText[] = " Beugungsbilder ";

// The lines of the block, UTF-8. Numbers use "." whatever the locale.
// "a*=%7.5f, b* =%7.5f, c*=%7.5f    Alpha*=%5.1f°, Beta*=%5.1f°, Gamma*=%5.1f°"
std::string ReciprocalCellLine(const ReciprocalParameters& reciprocal);
// "a =%6.1fpm, b =%6.1fpm, c =%6.1fpm  Alpha =%5.1f°, Beta =%5.1f°, Gamma =%5.1f°"
std::string DirectCellLine(const LatticeParameters& lattice);
// Characters 1–14 of the group-list item (the system name, blank-padded),
// "   Struktur Nr. " and the structure number.
std::string SystemLine(const std::string& groupItem, std::int32_t structureNumber);
// "Raumgruppe " and characters 15–30 of the item (number and symbol).
std::string SpaceGroupLine(const std::string& groupItem);

// Draws the block from Offset round(Centre1Y + LimitRadius) + 40 × RF upward,
// one text height of "Z" in Arial 14 × RF points per line, at column 20 × RF;
// then the credit line in 9 × RF points. Expects the brush clear, so that the
// text has no background. Leaves the font "Arial" at 9 × RF points.
void DrawAnnotation(const RunSettings& settings, const ReciprocalParameters& reciprocal,
                    const LatticeParameters& lattice, const PanelLayout& layout, const std::string& groupItem,
                    const std::string& freeText, Canvas& canvas);
