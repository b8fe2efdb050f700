#include "app/generation_run.hpp"

#include "app/publish_picture.hpp"
#include "app/read_settings.hpp"
#include "catalogue/operator_reader.hpp"
#include "catalogue/space_group_table.hpp"
#include "core/run_errors.hpp"
#include "crystal/lattice.hpp"
#include "crystal/reflections.hpp"
#include "crystal/structure.hpp"
#include "render/draw_annotation.hpp"
#include "render/draw_axes.hpp"
#include "render/draw_spots.hpp"
#include "render/layout_panels.hpp"

namespace {

// The structure is drawn before this test, so even a run without a group has
// reseeded the generator.
void SelectGroup(RunState& state, const RunControls& controls)
{
    state.settings.SelectedGroup = controls.selectedGroup();
    if (state.settings.SelectedGroup < 0)
        throw RunMessage("Bitte Raumgruppe wählen!");
}

// The forced cells go back to the grid before they are read, so they stay
// forced even when reading stops the run.
void ConstrainAndReadLattice(RunState& state, RunControls& controls)
{
    CellTexts cells = controls.latticeCells();
    state.crystalSystem = ApplyLatticeConstraints(controls.groupItem(state.settings.SelectedGroup), cells);
    controls.setLatticeCells(cells);
    ReadLattice(cells, state.lattice);
}

void ShowReciprocalCell(RunState& state, RunControls& controls)
{
    ComputeReciprocalCell(state.crystalSystem, state.lattice, state.settings.Wavelength, state.reciprocal,
                          state.minReciprocalLength);
    controls.setReciprocalCells(ReciprocalCellTexts(state.reciprocal));
}

}  // namespace

void RunGeneration(RunState& state, RunControls& controls)
{
    RunSettings& settings = state.settings;
    Canvas& picture = *state.patternBitmap;

    ReadSettings(state, controls);
    SeedStructure(settings.StructureNumber, state.random, state.sites);
    SelectGroup(state, controls);
    ConstrainAndReadLattice(state, controls);
    ShowReciprocalCell(state, controls);
    ReadOperators(SpaceGroupTable(), state.groupLine, settings.SelectedGroup, state.operators);
    ExpandSites(state.operators, state.sites);
    LayoutPanels(settings, state.layout, picture);
    CollectReflections(settings, state.reciprocal, state.layout, state.sites, state.reflections);
    DrawSpots(settings, state.reflections, state.minReciprocalLength, state.layout, state.maxSpotRadius, picture);
    DrawAxes(settings, state.reciprocal, state.layout, picture);
    DrawAnnotation(settings, state.reciprocal, state.lattice, state.layout, controls.groupItem(settings.SelectedGroup),
                   controls.freeText(), picture);
    PublishPicture(state, controls);
}
