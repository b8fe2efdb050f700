#pragma once
// All state of the generation run, in one record that lives as long as the
// window. Each run rewrites a member before it reads it, except groupLine
// (filled at start-up) and the drawing state of the picture, which carries
// over from run to run.

#include "catalogue/group_list.hpp"
#include "catalogue/symmetry_operator.hpp"
#include "core/run_settings.hpp"
#include "crystal/lattice.hpp"
#include "crystal/reflections.hpp"
#include "crystal/structure.hpp"
#include "render/canvas.hpp"
#include "render/panel_layout.hpp"

#include <memory>

struct RunState {
    RunSettings settings;
    GroupLineTable groupLine{};
    OperatorTable operators;
    CrystalSystem crystalSystem = CrystalSystem::Triclinic;
    LatticeParameters lattice;
    ReciprocalParameters reciprocal;
    float minReciprocalLength = 0;
    RandomState random = 0;
    AtomSites sites;
    ReflectionList reflections;
    PanelLayout layout;
    float maxSpotRadius = 0;
    std::unique_ptr<Canvas> patternBitmap;  // made by InitializeForm
};
