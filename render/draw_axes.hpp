#pragma once
// The axes with their index letters, the plane labels, the reciprocal basis
// vectors ("Lösung" only) and the origin markers (zero layer only), drawn over
// the spots.

#include "core/run_settings.hpp"
#include "crystal/lattice.hpp"
#include "render/canvas.hpp"
#include "render/panel_layout.hpp"

// Panel 1 shows plane hk (first axis a*, oblique axis b* at γ*), panel 2 h·l
// (a*, c* at β*), panel 3 ·kl (b*, c* at α*). Makes the brush clear for the
// rest of the run and leaves pen black width 1, font "Script" at
// 22 × ResolutionFactor points. A basis vector whose end lies beyond the
// 32-bit range throws "Fehler bei Bereichsprüfung" (or "Ungültige
// Gleitkommaoperation" beyond 64 bits), with what was drawn so far kept.
void DrawAxes(const RunSettings& settings, const ReciprocalParameters& reciprocal, const PanelLayout& layout,
              Canvas& canvas);
