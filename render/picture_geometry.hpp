#pragma once
// The picture's coordinate convention, shared by the drawing steps: a model
// point (x, y) counts pixels from the bottom-left corner with y upward and is
// drawn at column round(x), row PictureHeight − round(y), rounding halves to
// even with the run's range checks.

#include "core/run_settings.hpp"
#include "render/panel_layout.hpp"

#include <cstdint>

// round(x).
std::int32_t PictureColumn(long double x);

// PictureHeight − round(y).
std::int32_t PictureRow(const RunSettings& settings, long double y);

// The radius of the limit circles, SMax × Scale stored as single.
float LimitRadius(const RunSettings& settings, const PanelLayout& layout);
