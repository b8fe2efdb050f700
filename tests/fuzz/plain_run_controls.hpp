#pragma once
// RunControls over plain values: the whole run without a window, for the
// fuzzers, the end-to-end helper and the regression cases. The group list is
// the program's own, built from the compiled-in table exactly as the window
// builds it; what the run publishes is kept for inspection.

#include "app/run_controls.hpp"
#include "app/run_state.hpp"
#include "catalogue/group_list.hpp"
#include "catalogue/space_group_table.hpp"

#include <QImage>
#include <memory>
#include <string>
#include <vector>

struct PlainRunControls : RunControls {
    int wavelength = 0, resolution = 0, presentation = 0, layer = 0;
    bool axes = true;
    std::string limit = "0.4", structureNumber = "1", text;
    int group = 0;
    std::vector<std::string> groupItems;
    CellTexts cells{"900", "1100", "1350", "90.0", "110.0", "90.0"};
    CellTexts reciprocalCells;
    QImage shown, clipboard;
    bool noticeShown = false;

    int wavelengthIndex() const override { return wavelength; }
    int resolutionIndex() const override { return resolution; }
    int presentationIndex() const override { return presentation; }
    int layerIndex() const override { return layer; }
    bool axesChecked() const override { return axes; }
    std::string limitText() const override { return limit; }
    std::string structureNumberText() const override { return structureNumber; }
    std::string freeText() const override { return text; }
    int selectedGroup() const override { return group; }
    // The window's list answers an index outside it with an empty text.
    std::string groupItem(int index) const override
    {
        if (index < 0 || index >= static_cast<int>(groupItems.size()))
            return {};
        return groupItems[static_cast<std::size_t>(index)];
    }
    CellTexts latticeCells() const override { return cells; }
    void setLatticeCells(const CellTexts& texts) override { cells = texts; }
    void setReciprocalCells(const CellTexts& texts) override { reciprocalCells = texts; }
    void showPicture(const QImage& picture) override { shown = picture; }
    void putOnClipboard(const QImage& picture) override { clipboard = picture; }
    void showClipboardNotice() override { noticeShown = true; }
};

// A run state as InitializeForm leaves it, and the group list beside it.
inline void InitializePlainRun(RunState& state, PlainRunControls& controls)
{
    state.patternBitmap = std::make_unique<Canvas>();
    controls.groupItems.clear();
    BuildGroupList(
        SpaceGroupTable(), [&](const std::string& item) { controls.groupItems.push_back(item); }, state.groupLine);
}
