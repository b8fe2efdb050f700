// The whole run of "Bilder generieren" on arbitrary settings, drawn on the
// real picture: every run ends with a published picture of one of the two
// sizes, or with a RunMessage or RunTimeError, and within a second. Anything
// else (another exception, a crash, a sanitizer report, a hang) is a finding.
#include "app/generation_run.hpp"
#include "core/run_errors.hpp"
#include "render/fonts.hpp"
#include "tests/fuzz/run_input.hpp"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

namespace {

void RunOnce(RunState& state, PlainRunControls& controls)
{
    controls.clipboard = QImage();
    controls.noticeShown = false;
    try {
        RunGeneration(state, controls);
    } catch (const RunMessage&) {
        return;
    } catch (const RunTimeError&) {
        return;
    }
    const QSize size = controls.clipboard.size();
    if (!controls.noticeShown || (size != QSize(800, 500) && size != QSize(1600, 1000))) {
        std::fprintf(stderr, "a run ended without its picture (%d × %d)\n", size.width(), size.height());
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(*argc, *argv);
    InstallFontSubstitutes();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The group list is built once; every input gets a fresh run state, as a
    // fresh window would, so that a finding replays on its own.
    static const auto start = [] {
        struct {
            PlainRunControls controls;
            GroupLineTable groupLine;
        } built;
        RunState scratch;
        InitializePlainRun(scratch, built.controls);
        built.groupLine = scratch.groupLine;
        return built;
    }();

    RunState state;
    state.patternBitmap = std::make_unique<Canvas>();
    state.groupLine = start.groupLine;
    PlainRunControls controls;
    controls.groupItems = start.controls.groupItems;
    const RunInput input = DecodeRunInput(data, size, controls);
    RunOnce(state, controls);
    if (input.twice)
        RunOnce(state, controls);
    return 0;
}
