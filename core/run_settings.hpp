#pragma once
// The options of one run, read from the window by ReadSettings. Every run
// rewrites each field when it reaches the step that sets it.

#include <cstdint>

struct RunSettings {
    std::int32_t ResolutionFactor = 1;  // 1 ("normal") or 2 ("hoch")
    std::int32_t PictureWidth = 800;    // 800 × ResolutionFactor
    std::int32_t PictureHeight = 500;   // 500 × ResolutionFactor
    float Wavelength = 0.0f;            // pm
    float SMax = 0.0f;                  // limit sin(θ)/λ as typed
    float SMaxSquared = 0.0f;           // set by LayoutPanels
    bool ExerciseMode = true;           // "Aufgabe" (true) or "Lösung" (false)
    bool AxesOn = true;
    std::int32_t LayerIndex = 0;        // 0: hk0, h0l, 0kl; 1: hk1, h1l, 1kl
    std::int32_t StructureNumber = 0;
    std::int32_t SelectedGroup = 0;     // index into the group list
};
