// Times the generation run without the window and the clipboard: from the
// structure through the reflections, and for the ordinary cases the drawing
// steps too, on the real catalogue. Beside each figure it times, in the same
// process, the literal evaluation the run must reproduce: the enumeration of
// every index pair with the extended-precision amplitude of each point
// (CollectReflectionsReference), and prints the ratio.
//
//   beugungsbilder_bench [--quick] [--reference-seconds S]
//
// Every figure is the median of repeated runs; the load average is printed
// before and after, since other work on the machine moves the figures. The
// literal evaluation runs in a child process that is stopped after S seconds
// (default 20): on some inputs it would take hours.

#include "catalogue/group_list.hpp"
#include "catalogue/operator_reader.hpp"
#include "catalogue/space_group_table.hpp"
#include "crystal/amplitude_kernel.hpp"
#include "crystal/extended_constants.hpp"
#include "crystal/lattice.hpp"
#include "crystal/reflections.hpp"
#include "crystal/structure.hpp"
#include "render/canvas.hpp"
#include "render/draw_annotation.hpp"
#include "render/draw_axes.hpp"
#include "render/draw_spots.hpp"
#include "render/fonts.hpp"
#include "render/layout_panels.hpp"

#include <QGuiApplication>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Catalogue {
    std::vector<std::string> items;
    GroupLineTable groupLine{};
};

struct Case {
    const char* name;
    const char* group;  // number and symbol as the group list shows them
    CellTexts cell;
    float sMax;
    std::int32_t resolution;
    bool draw;  // also time the drawing steps
};

// All state one run writes, as RunState holds it.
struct Run {
    RunSettings settings;
    LatticeParameters lattice;
    ReciprocalParameters reciprocal;
    float minReciprocalLength = 0;
    RandomState random = 0;
    AtomSites sites;
    OperatorTable operators;
    PanelLayout layout;
    ReflectionList reflections;
    float maxSpotRadius = 0;
};

int FindGroup(const Catalogue& catalogue, const std::string& numberAndSymbol)
{
    for (std::size_t i = 0; i < catalogue.items.size(); ++i)
        if (catalogue.items[i].find(" " + numberAndSymbol + " ") != std::string::npos)
            return static_cast<int>(i);
    std::fprintf(stderr, "no group %s in the catalogue\n", numberAndSymbol.c_str());
    std::exit(1);
}

// The run's steps from SeedStructure through CollectReflections, in the
// window's order. LayoutPanels draws on `canvas`, which is empty (0 × 0, so
// nothing is drawn) when only the computation is timed.
void Compute(const Case& c, const Catalogue& catalogue, int group, bool reference, Canvas& canvas, Run& run)
{
    RunSettings& settings = run.settings;
    settings.ResolutionFactor = c.resolution;
    settings.PictureWidth = 800 * c.resolution;
    settings.PictureHeight = 500 * c.resolution;
    settings.Wavelength = 70.926f;
    settings.SMax = c.sMax;
    settings.ExerciseMode = true;
    settings.AxesOn = true;
    settings.LayerIndex = 0;
    settings.StructureNumber = 1;
    settings.SelectedGroup = group;

    SeedStructure(settings.StructureNumber, run.random, run.sites);
    CellTexts cells = c.cell;
    const CrystalSystem system = ApplyLatticeConstraints(catalogue.items[static_cast<std::size_t>(group)], cells);
    ReadLattice(cells, run.lattice);
    ComputeReciprocalCell(system, run.lattice, settings.Wavelength, run.reciprocal, run.minReciprocalLength);
    ReadOperators(SpaceGroupTable(), catalogue.groupLine, group, run.operators);
    ExpandSites(run.operators, run.sites);
    LayoutPanels(settings, run.layout, canvas);
    if (reference)
        CollectReflectionsReference(settings, run.reciprocal, run.layout, run.sites, run.reflections);
    else
        CollectReflections(settings, run.reciprocal, run.layout, run.sites, run.reflections);
}

void Draw(const Catalogue& catalogue, int group, Canvas& canvas, Run& run)
{
    DrawSpots(run.settings, run.reflections, run.minReciprocalLength, run.layout, run.maxSpotRadius, canvas);
    DrawAxes(run.settings, run.reciprocal, run.layout, canvas);
    DrawAnnotation(run.settings, run.reciprocal, run.lattice, run.layout,
                   catalogue.items[static_cast<std::size_t>(group)], "", canvas);
}

struct Timing {
    double median = 0;  // seconds
    double min = 0;
    int runs = 0;
};

// Repeats `work` until `budget` seconds have passed (at least `minRuns`,
// at most `maxRuns` times).
template <class Work>
Timing Time(Work work, double budget, int minRuns, int maxRuns)
{
    std::vector<double> seconds;
    double total = 0;
    while (static_cast<int>(seconds.size()) < maxRuns && (static_cast<int>(seconds.size()) < minRuns || total < budget)) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        seconds.push_back(elapsed);
        total += elapsed;
    }
    std::sort(seconds.begin(), seconds.end());
    const std::size_t n = seconds.size();
    return {n % 2 ? seconds[n / 2] : (seconds[n / 2 - 1] + seconds[n / 2]) / 2, seconds.front(), static_cast<int>(n)};
}

// The pairs the literal enumeration may visit: (2·N_o + 1)(2·N_i + 1) per
// plane, as it bounds them. It stops early once the list is full.
double PairBound(const Run& run)
{
    const ReciprocalParameters& r = run.reciprocal;
    const float planes[3][3] = {{r.BStar, r.AStar, r.GammaStar}, {r.CStar, r.AStar, r.BetaStar},
                                {r.CStar, r.BStar, r.AlphaStar}};
    double pairs = 0;
    for (const auto& plane : planes) {
        const long double sinPhi = std::sin(extended::kDegree * plane[2]);
        const long double outer = std::nearbyint(run.settings.SMax / (sinPhi * plane[0]));
        const long double inner = std::nearbyint(run.settings.SMax / (sinPhi * plane[1]));
        if (outer >= 0 && inner >= 0)
            pairs += static_cast<double>((2 * outer + 1) * (2 * inner + 1));
    }
    return pairs;
}

bool SameList(const ReflectionList& a, const ReflectionList& b)
{
    if (a.ReflectionCount != b.ReflectionCount)
        return false;
    const std::size_t n = static_cast<std::size_t>(a.ReflectionCount);
    return std::memcmp(a.Amplitude.data(), b.Amplitude.data(), n * sizeof(float)) == 0
           && std::memcmp(a.PixelX.data(), b.PixelX.data(), n * sizeof(std::int32_t)) == 0
           && std::memcmp(a.PixelY.data(), b.PixelY.data(), n * sizeof(std::int32_t)) == 0;
}

struct ChildTiming {
    bool finished = false;
    bool sameList = false;
    Timing timing;
};

// Times `work` in a child process, which is killed once `limit` seconds have
// passed; `same` tells whether the child's list equals ours.
template <class Work, class Same>
ChildTiming TimeInChild(Work work, Same same, double budget, double limit)
{
    int channel[2];
    if (pipe(channel) != 0)
        return {};
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        ChildTiming result;
        result.timing = Time(work, budget, 1, 9);
        result.sameList = same();
        result.finished = true;
        const ssize_t written = write(channel[1], &result, sizeof result);
        _exit(written == sizeof result ? 0 : 1);
    }
    close(channel[1]);
    ChildTiming result;
    pollfd wait{channel[0], POLLIN, 0};
    if (child > 0 && poll(&wait, 1, static_cast<int>(limit * 1000)) > 0) {
        if (read(channel[0], &result, sizeof result) != sizeof result)
            result = {};
    } else if (child > 0) {
        kill(child, SIGKILL);
    }
    close(channel[0]);
    if (child > 0)
        waitpid(child, nullptr, 0);
    return result;
}

std::string LoadAverage()
{
    std::ifstream file("/proc/loadavg");
    std::string one, five, fifteen;
    file >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

std::string Milliseconds(double seconds)
{
    char text[32];
    const double ms = seconds * 1e3;
    std::snprintf(text, sizeof text, ms < 0.1 ? "%.4f ms" : ms < 10 ? "%.3f ms" : "%.1f ms", ms);
    return text;
}

void PrintRow(const std::string& what, const Timing& ours, const Timing* reference, const std::string& note)
{
    std::printf("  %-30s %12s", what.c_str(), Milliseconds(ours.median).c_str());
    if (reference)
        std::printf(" %12s %9.1fx", Milliseconds(reference->median).c_str(), reference->median / ours.median);
    else
        std::printf(" %12s %10s", "-", "");
    std::printf("   %s\n", note.c_str());
}

// The Miller indices of a list, in list order: what the literal enumeration
// hands to the amplitude.
struct RecordedIndices {
    std::int32_t hkl[kMaxReflections][3];
    int count = 0;
};
RecordedIndices recorded;

float Record(const AtomSites&, std::int32_t h, std::int32_t k, std::int32_t l)
{
    if (recorded.count < kMaxReflections) {
        recorded.hkl[recorded.count][0] = h;
        recorded.hkl[recorded.count][1] = k;
        recorded.hkl[recorded.count][2] = l;
        ++recorded.count;
    }
    return 0;
}

// The amplitudes alone, of the largest list: kernel against the literal loop.
void TimeAmplitudes(const Run& run, bool quick)
{
    recorded.count = 0;
    ReflectionList scratch;
    CollectReflectionsReference(run.settings, run.reciprocal, run.layout, run.sites, scratch, Record);
    static float fast[kMaxReflections], literal[kMaxReflections];
    amplitude_kernel::Counters counters;
    amplitude_kernel::Options options;
    options.counters = &counters;
    amplitude_kernel::StructureAmplitudes(run.sites, recorded.hkl, recorded.count, fast, options);
    const Timing ours = Time(
        [&] { amplitude_kernel::StructureAmplitudes(run.sites, recorded.hkl, recorded.count, fast); }, quick ? 0.1 : 1,
        5, 200);
    const Timing reference = Time(
        [&] {
            for (int j = 0; j < recorded.count; ++j)
                literal[j] = StructureAmplitudeReference(run.sites, recorded.hkl[j][0], recorded.hkl[j][1],
                                                         recorded.hkl[j][2]);
        },
        quick ? 0.5 : 3, quick ? 1 : 3, 9);
    const bool same = std::memcmp(fast, literal, static_cast<std::size_t>(recorded.count) * sizeof(float)) == 0;
    char note[160];
    std::snprintf(note, sizeof note, "%d x %d sites, %s, %lld extended steps of %lld; %s", recorded.count,
                  run.sites.SiteCount, amplitude_kernel::IsaName(options.isa),
                  static_cast<long long>(counters.extendedSteps),
                  static_cast<long long>(recorded.count) * run.sites.SiteCount, same ? "same bits" : "DIFFERENT BITS");
    PrintRow("amplitudes only", ours, &reference, note);
}

}  // namespace

int main(int argc, char** argv)
{
    bool quick = false;
    double referenceSeconds = 20;  // the literal evaluation is stopped after this
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quick") == 0)
            quick = true;
        else if (std::strcmp(argv[i], "--reference-seconds") == 0 && i + 1 < argc)
            referenceSeconds = std::atof(argv[++i]);
        else {
            std::fprintf(stderr, "usage: %s [--quick] [--reference-seconds S]\n", argv[0]);
            return 2;
        }
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    InstallFontSubstitutes();

    Catalogue catalogue;
    BuildGroupList(SpaceGroupTable(), [&](const std::string& item) { catalogue.items.push_back(item); },
                   catalogue.groupLine);

    const CellTexts defaults = {"900", "1100", "1350", "90", "110", "90"};
    const Case cases[] = {
        {"window defaults", "302 P121", defaults, 0.4f, 1, true},
        {"largest list, resolution 1", "225 FM-3M", defaults, 2.0f, 1, true},
        {"largest list, resolution 2", "225 FM-3M", defaults, 2.0f, 2, true},
        {"beta 179.999, limit 100", "302 P121", {"900", "1100", "1350", "90", "179.999", "90"}, 100, 1, false},
        {"c 10^6 pm, limit 100", "302 P121", {"900", "1100", "1000000", "90", "110", "90"}, 100, 1, false},
        {"beta 179.999, c 10^6 pm, limit 100", "302 P121", {"900", "1100", "1000000", "90", "179.999", "90"}, 100, 1,
         false},
        {"beta 179.999, c 10^9 pm", "302 P121", {"900", "1100", "1e9", "90", "179.999", "90"}, 0.4f, 1, false},
        {"beta 0.00002, a and c 10^7 pm", "302 P121", {"1e7", "1100", "1e7", "90", "0.00002", "90"}, 0.4f, 1, false},
    };

    std::printf("Beugungsbilder generation benchmark (load average %s)\n", LoadAverage().c_str());
    std::printf("amplitude kernel: %s; the reference is the enumeration of every pair with the\n"
                "extended-precision amplitude of each point. Medians.\n\n",
                amplitude_kernel::IsaName(amplitude_kernel::BestIsa()));
    std::printf("  %-30s %12s %12s %10s\n", "", "ours", "reference", "ratio");

    Canvas empty;
    for (const Case& c : cases) {
        const int group = FindGroup(catalogue, c.group);
        std::printf("%s (%s, limit %g)\n", c.name, c.group, c.sMax);
        auto run = std::make_unique<Run>();
        auto referenceRun = std::make_unique<Run>();
        Compute(c, catalogue, group, false, empty, *run);
        const double pairs = PairBound(*run);

        const Timing ours = Time([&] { Compute(c, catalogue, group, false, empty, *run); }, quick ? 0.1 : 1, 5, 2000);
        char note[160];
        std::snprintf(note, sizeof note, "%d reflections, %d sites; full enumeration up to %.3g pairs",
                      run->reflections.ReflectionCount, run->sites.SiteCount, pairs);
        const ChildTiming reference = TimeInChild(
            [&] { Compute(c, catalogue, group, true, empty, *referenceRun); },
            [&] { return SameList(run->reflections, referenceRun->reflections); }, quick ? 0.5 : 3, referenceSeconds);
        if (reference.finished) {
            PrintRow("computation", ours, &reference.timing,
                     note + std::string(reference.sameList ? "; same list" : "; DIFFERENT LIST"));
        } else {
            char stopped[64];
            std::snprintf(stopped, sizeof stopped, "; reference stopped after %g s", referenceSeconds);
            PrintRow("computation", ours, nullptr, note + std::string(stopped));
        }

        if (c.draw) {
            Canvas picture;
            picture.setSize(800 * c.resolution, 500 * c.resolution);
            const Timing drawn = Time(
                [&] {
                    Compute(c, catalogue, group, false, picture, *run);
                    Draw(catalogue, group, picture, *run);
                },
                quick ? 0.1 : 1, 5, 500);
            PrintRow("computation and drawing", drawn, nullptr, "layout, spots, axes, annotation");
        }
        if (std::strcmp(c.name, "largest list, resolution 1") == 0)
            TimeAmplitudes(*run, quick);
    }
    std::printf("\nload average %s\n", LoadAverage().c_str());
    return 0;
}
