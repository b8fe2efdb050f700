// The whole run of "Bilder generieren" on arbitrary settings, drawn on the
// real picture: every run ends with a published picture of one of the two
// sizes, or with a RunMessage or RunTimeError, and within a second. Anything
// else (another exception, a crash, a sanitizer report, a hang) is a finding,
// and so is a reflection list that differs from the literal enumeration's.
#include "app/generation_run.hpp"
#include "core/run_errors.hpp"
#include "render/fonts.hpp"
#include "tests/fuzz/run_input.hpp"

#include <QGuiApplication>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Index pairs the literal enumeration would visit, from the planes' bounds;
// infinite or NaN where a bound cannot be formed.
double EnumerationCost(const RunSettings& settings, const ReciprocalParameters& r)
{
    const float planes[3][3] = {{r.BStar, r.AStar, r.GammaStar}, {r.CStar, r.AStar, r.BetaStar},
                                {r.CStar, r.BStar, r.AlphaStar}};
    double cost = 0;
    for (const auto& [outer, inner, angle] : planes) {
        const double sine = std::fabs(std::sin(angle * 3.14159265358979323846 / 180));
        const double outerBound = std::fabs(settings.SMax) / (sine * outer);
        const double innerBound = std::fabs(settings.SMax) / (sine * inner);
        cost += (2 * outerBound + 3) * (2 * innerBound + 3);
    }
    return cost;
}

float NoAmplitude(const AtomSites&, std::int32_t, std::int32_t, std::int32_t) { return 1; }

// How an enumeration ended: "" with the list filled, or the error's text.
std::string Collect(const RunState& state, ReflectionList& list, AmplitudeFunction amplitude, bool reference)
{
    try {
        if (reference)
            CollectReflectionsReference(state.settings, state.reciprocal, state.layout, state.sites, list, amplitude);
        else
            CollectReflections(state.settings, state.reciprocal, state.layout, state.sites, list);
    } catch (const RunTimeError& error) {
        return error.what();
    }
    return {};
}

// The run's enumeration skips what cannot reach the circle and computes the
// amplitudes together; the literal one must give the same list, bit for bit,
// or the same error. Checked where the literal one is cheap enough to run.
void CompareWithLiteralEnumeration(const RunState& state)
{
    if (state.layout.Scale == 0)
        return;  // the run stopped before its layout: nothing was enumerated
    const double cost = EnumerationCost(state.settings, state.reciprocal);
    if (!(cost < 2e5))
        return;
    const bool amplitudesToo = state.sites.SiteCount * 3000.0 < 3e5;
    static ReflectionList fast, literal;
    const std::string fastEnd = Collect(state, fast, nullptr, false);
    const std::string literalEnd = Collect(state, literal, amplitudesToo ? StructureAmplitudeReference : NoAmplitude, true);
    bool same = fastEnd == literalEnd;
    if (same && fastEnd.empty()) {
        same = fast.ReflectionCount == literal.ReflectionCount;
        for (int i = 0; same && i < fast.ReflectionCount; ++i) {
            const auto at = static_cast<std::size_t>(i);
            same = fast.PixelX[at] == literal.PixelX[at] && fast.PixelY[at] == literal.PixelY[at] &&
                   (!amplitudesToo || std::memcmp(&fast.Amplitude[at], &literal.Amplitude[at], sizeof(float)) == 0);
            if (!same)
                std::fprintf(stderr, "reflection %d differs: (%d, %d) %a against (%d, %d) %a\n", i, fast.PixelX[at],
                             fast.PixelY[at], static_cast<double>(fast.Amplitude[at]), literal.PixelX[at],
                             literal.PixelY[at], static_cast<double>(literal.Amplitude[at]));
        }
    }
    if (!same) {
        std::fprintf(stderr, "the enumerations differ: \"%s\" with %d reflections against \"%s\" with %d\n",
                     fastEnd.c_str(), fast.ReflectionCount, literalEnd.c_str(), literal.ReflectionCount);
        std::abort();
    }
}

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
    CompareWithLiteralEnumeration(state);
    if (input.twice)
        RunOnce(state, controls);
    return 0;
}
