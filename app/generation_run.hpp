#pragma once
#include "app/run_controls.hpp"
#include "app/run_state.hpp"

// One run of "Bilder generieren", from the options to the published picture.
// A step that ends the run throws: RunMessage for the conditions the steps
// test, RunTimeError for everything else. What was done before stays done.
void RunGeneration(RunState& state, RunControls& controls);
