#pragma once
#include "app/run_controls.hpp"
#include "app/run_state.hpp"

// The wavelengths of the "Wellenlänge" items, in pm: Mo Kα1 and Cu Kα1.
inline constexpr float kWavelengthTable[2] = {70.926f, 154.051f};

// Reads the run's options from the window into the settings and sizes the
// picture. A limit that is not a number ends the run with its conversion error.
void ReadSettings(RunState& state, const RunControls& controls);
