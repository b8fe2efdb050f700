#pragma once
// The first drawing step of a run: fixes the panel geometry, clears the
// picture and draws the three limit circles.

#include "core/run_settings.hpp"
#include "render/canvas.hpp"
#include "render/panel_layout.hpp"

// Sets layout (Scale, the three centres) and settings.SMaxSquared, fills the
// whole picture white and draws the limit circles, black on white.
// Reads SMax, PictureWidth and PictureHeight. SMax 0 throws
// "Gleitkommadivision durch Null" before anything is drawn; an SMax whose
// square overflows single precision throws "Gleitkommaüberlauf".
// Leaves pen black, brush solid white.
void LayoutPanels(RunSettings& settings, PanelLayout& layout, Canvas& canvas);
