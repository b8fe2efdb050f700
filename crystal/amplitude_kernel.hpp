#pragma once
// The structure amplitudes of many reflections at once, bit for bit as
// StructureAmplitudeReference gives them one by one.
//
// Eight reflections run side by side, each keeping its own site order. Every
// site step is taken in double precision with a bound on its error; where that
// bound does not settle the single-precision result (a phase or a running sum
// too close to a rounding boundary of single precision, a phase too large for
// the fast argument reduction), the step is taken again in extended precision
// exactly as the reference takes it. The results are therefore equal by
// construction, not by luck; the tests sweep the catalogue to confirm it.

#include "crystal/structure.hpp"

#include <cstdint>

namespace amplitude_kernel {

// The instruction sets the kernel is compiled for; the best one the processor
// offers is picked at run time.
enum class Isa { Baseline, Avx2, Avx512 };

bool IsaAvailable(Isa isa);
Isa BestIsa();
const char* IsaName(Isa isa);

// How often the double-precision steps could not settle a result.
struct Counters {
    std::int64_t replayedChunks = 0;  // groups of site steps taken again one by one
    std::int64_t extendedSteps = 0;   // site steps taken in extended precision
};

struct Options {
    Isa isa = BestIsa();
    // Widens every error bound by this factor. Only the tests change it, to
    // send every step down the extended-precision path.
    double marginScale = 1;
    Counters* counters = nullptr;
};

// Writes amplitudes[j] = StructureAmplitudeReference(sites, hkl[j][0], hkl[j][1], hkl[j][2])
// for j from 0 upward and returns the count written. It stops early, at the
// first reflection whose reference evaluation would raise an error (a phase
// that is not a number or too large for single precision, a site count out of
// range), and leaves that reflection to the caller.
int StructureAmplitudes(const AtomSites& sites, const std::int32_t (*hkl)[3], int count, float* amplitudes,
                        const Options& options = {});

// The double-precision sine and cosine the kernel uses, for |t| < 2^28, eight
// values at a time; exposed so the tests can hold them to their error bound.
void SineCosine(Isa isa, const double (&t)[8], double (&sine)[8], double (&cosine)[8]);

}  // namespace amplitude_kernel
