#include "app/read_settings.hpp"

#include "core/checked_arithmetic.hpp"
#include "core/number_readers.hpp"

void ReadSettings(RunState& state, const RunControls& controls)
{
    RunSettings& settings = state.settings;

    // "hoch" doubles the picture; any other item gives the normal size.
    settings.ResolutionFactor = controls.resolutionIndex() == 1 ? 2 : 1;

    // Every later step takes the picture's size from the picture itself.
    Canvas& picture = *state.patternBitmap;
    picture.setSize(800 * settings.ResolutionFactor, 500 * settings.ResolutionFactor);
    settings.PictureWidth = picture.width();
    settings.PictureHeight = picture.height();

    const int wavelength = controls.wavelengthIndex();
    CheckIndex(wavelength, 2);
    settings.Wavelength = kWavelengthTable[wavelength];

    settings.SMax = ReadSingle(controls.limitText());

    // "Lösung" always shows the axes; only "Aufgabe" asks the check box.
    settings.AxesOn = true;
    if (controls.presentationIndex() == 0) {
        settings.ExerciseMode = true;
        if (!controls.axesChecked())
            settings.AxesOn = false;
    } else {
        settings.ExerciseMode = false;
    }

    settings.LayerIndex = controls.layerIndex() == 0 ? 0 : 1;

    settings.StructureNumber = ReadWholeNumber(controls.structureNumberText());
}
