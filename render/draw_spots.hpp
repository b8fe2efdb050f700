#pragma once
// The reflection spots: one black disc per stored reflection, its radius
// proportional to the amplitude.

#include "core/run_settings.hpp"
#include "crystal/reflections.hpp"
#include "render/canvas.hpp"
#include "render/panel_layout.hpp"

// Sets maxSpotRadius, the radius of the strongest reflection's spot:
// 0.4 × minReciprocalLength × Scale, at most 9 × ResolutionFactor. Draws the
// spots in list order with a solid black brush (left so afterwards).
// A list whose largest amplitude is 0 (an empty list) throws
// "Gleitkommadivision durch Null" before the first spot.
void DrawSpots(const RunSettings& settings, const ReflectionList& list, float minReciprocalLength,
               const PanelLayout& layout, float& maxSpotRadius, Canvas& canvas);
