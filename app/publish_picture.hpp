#pragma once
#include "app/run_controls.hpp"
#include "app/run_state.hpp"

// Shows a copy of the finished picture in the window, puts it on the clipboard
// and shows the notice. The only step that touches those three.
void PublishPicture(const RunState& state, RunControls& controls);
