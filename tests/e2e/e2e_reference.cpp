// The end-to-end test's yardstick: one run of the program's own steps on the
// given settings, without a window. It writes the picture the run draws and
// prints where the run put each reflection, so the test can hold the picture
// that the real window puts on the clipboard against them.
//
// Arguments are name=value pairs: wavelength, resolution, presentation, layer
// (item indices), axes (0/1), limit, structure, text, group (list index) and
// cells (six texts separated by "|"); picture=PATH writes the PNG.
//
// Output lines:
//   item <group-list item>
//   size <width> <height>
//   maxspot <MaxSpotRadius>
//   reflection <column> <row> <amplitude relative to the largest>
// or, when the run ends short of its picture,
//   message <text>   /   error <text>
#include "app/generation_run.hpp"
#include "core/run_errors.hpp"
#include "render/fonts.hpp"
#include "tests/fuzz/plain_run_controls.hpp"

#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

CellTexts SplitCells(const std::string& joined)
{
    CellTexts cells;
    std::size_t start = 0;
    for (std::size_t row = 0; row < cells.size(); ++row) {
        const std::size_t bar = joined.find('|', start);
        cells[row] = joined.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
        start = bar == std::string::npos ? joined.size() : bar + 1;
    }
    return cells;
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    InstallFontSubstitutes();

    RunState state;
    PlainRunControls controls;
    InitializePlainRun(state, controls);
    std::string picturePath;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const std::size_t equals = argument.find('=');
        if (equals == std::string::npos) {
            std::fprintf(stderr, "not name=value: %s\n", argv[i]);
            return 2;
        }
        const std::string name = argument.substr(0, equals), value = argument.substr(equals + 1);
        if (name == "wavelength") controls.wavelength = std::stoi(value);
        else if (name == "resolution") controls.resolution = std::stoi(value);
        else if (name == "presentation") controls.presentation = std::stoi(value);
        else if (name == "layer") controls.layer = std::stoi(value);
        else if (name == "axes") controls.axes = value != "0";
        else if (name == "limit") controls.limit = value;
        else if (name == "structure") controls.structureNumber = value;
        else if (name == "text") controls.text = value;
        else if (name == "group") controls.group = std::stoi(value);
        else if (name == "cells") controls.cells = SplitCells(value);
        else if (name == "picture") picturePath = value;
        else {
            std::fprintf(stderr, "unknown setting: %s\n", name.c_str());
            return 2;
        }
    }

    std::printf("item %s\n", controls.groupItem(controls.group).c_str());
    try {
        RunGeneration(state, controls);
    } catch (const RunMessage& message) {
        std::printf("message %s\n", message.what());
        return 0;
    } catch (const std::exception& error) {
        std::printf("error %s\n", ErrorReportText(error.what()).c_str());
        return 0;
    }

    const QImage& picture = controls.clipboard;
    std::printf("size %d %d\n", picture.width(), picture.height());
    std::printf("maxspot %.6f\n", static_cast<double>(state.maxSpotRadius));
    const ReflectionList& list = state.reflections;
    float largest = 0;
    for (int i = 0; i < list.ReflectionCount; ++i)
        largest = std::max(largest, list.Amplitude[static_cast<std::size_t>(i)]);
    for (int i = 0; i < list.ReflectionCount; ++i) {
        const auto at = static_cast<std::size_t>(i);
        std::printf("reflection %d %d %.6f\n", list.PixelX[at], list.PixelY[at],
                    static_cast<double>(list.Amplitude[at] / largest));
    }
    if (!picturePath.empty() && !picture.save(QString::fromStdString(picturePath), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", picturePath.c_str());
        return 1;
    }
    return 0;
}
