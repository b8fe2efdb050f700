#pragma once
// How a fuzzer's bytes become the settings of one or two runs, shared by the
// run fuzzer and the regression cases that replay what it found.
//
// Bytes 0 to 3: the item indices of "Wellenlänge", "Auflösung", "Darstellung
// als" and "Ebenen generieren ...", each byte % 5 − 1 (so −1, "none checked",
// and indices past the last item occur). Byte 4: bit 0 "Achsen zeichnen",
// bit 1 a second run on the same state, as a user pressing the button again.
// Bytes 5 and 6: the group index, little-endian % 230 − 1 (−1 is no
// selection, 228 lies past the list). The rest, split at line feeds: the
// limit, the structure number, the free text and the six lattice cells; a
// field left out keeps the window's initial text.

#include "tests/fuzz/plain_run_controls.hpp"

#include <cstddef>
#include <cstdint>
#include <string>

struct RunInput {
    bool twice = false;
};

inline RunInput DecodeRunInput(const std::uint8_t* data, std::size_t size, PlainRunControls& controls)
{
    RunInput input;
    auto byte = [&](std::size_t i) { return i < size ? data[i] : std::uint8_t{0}; };
    controls.wavelength = byte(0) % 5 - 1;
    controls.resolution = byte(1) % 5 - 1;
    controls.presentation = byte(2) % 5 - 1;
    controls.layer = byte(3) % 5 - 1;
    controls.axes = (byte(4) & 1) != 0;
    input.twice = (byte(4) & 2) != 0;
    controls.group = (byte(5) | byte(6) << 8) % 230 - 1;

    std::string* fields[] = {&controls.limit, &controls.structureNumber, &controls.text,
                             &controls.cells[0], &controls.cells[1], &controls.cells[2],
                             &controls.cells[3], &controls.cells[4], &controls.cells[5]};
    std::size_t field = 0, start = 7;
    while (start < size && field < std::size(fields)) {
        std::size_t end = start;
        while (end < size && data[end] != '\n')
            ++end;
        fields[field++]->assign(reinterpret_cast<const char*>(data + start), end - start);
        start = end + 1;
    }
    return input;
}
