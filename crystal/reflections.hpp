#pragma once
// The reflections of the three planes inside the limit circle, with their
// structure amplitudes and picture positions.

#include "core/run_settings.hpp"
#include "crystal/lattice.hpp"
#include "crystal/structure.hpp"
#include "render/panel_layout.hpp"

#include <array>
#include <cstdint>

inline constexpr int kReflectionSlots = 3001;
inline constexpr int kMaxReflections = 2995;  // a reflection is stored only while the count is below this

struct ReflectionList {
    std::array<float, kReflectionSlots> Amplitude{};
    std::array<std::int32_t, kReflectionSlots> PixelX{};
    std::array<std::int32_t, kReflectionSlots> PixelY{};  // row 0 at the top
    std::int32_t ReflectionCount = 0;
};

// |F(hkl)| of identical point atoms on all sites: the sum over the sites in
// index order, each phase rounded to single, each partial sum of the cosines
// and of the sines rounded to single. It gives the reference's results bit
// for bit, through the kernel of crystal/amplitude_kernel.hpp.
float StructureAmplitude(const AtomSites& sites, std::int32_t h, std::int32_t k, std::int32_t l);

// The literal, one site at a time evaluation of that sum, kept as the
// yardstick for any faster StructureAmplitude.
float StructureAmplitudeReference(const AtomSites& sites, std::int32_t h, std::int32_t k, std::int32_t l);

// Fills the list plane by plane (hk·, h·l, ·kl), keeping the points inside the
// limit circle, at most kMaxReflections of them. Reads SMax, SMaxSquared,
// LayerIndex and PictureHeight. A reciprocal angle of 0° (division by zero) or
// a bound outside the 32-bit range (range check; beyond 64 bits, invalid
// operation) throws the RunTimeError of that fault.
//
// The list and the errors are those of CollectReflectionsReference, but each
// row of a plane only visits the inner indices that can reach the circle, rows
// that cannot are skipped in bulk, and the amplitudes are computed together
// once the positions are known. The time grows with the reflections stored,
// not with the bounds.
void CollectReflections(const RunSettings& settings, const ReciprocalParameters& reciprocal,
                        const PanelLayout& layout, const AtomSites& sites, ReflectionList& list);

using AmplitudeFunction = float (*)(const AtomSites& sites, std::int32_t h, std::int32_t k, std::int32_t l);

// The literal enumeration: every index pair within the bounds, in order, with
// the amplitude of each point stored as soon as it is found. Kept as the
// yardstick for CollectReflections; the tests may pass a cheaper amplitude.
void CollectReflectionsReference(const RunSettings& settings, const ReciprocalParameters& reciprocal,
                                 const PanelLayout& layout, const AtomSites& sites, ReflectionList& list,
                                 AmplitudeFunction amplitude = StructureAmplitudeReference);
