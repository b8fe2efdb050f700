#pragma once
// printf's "%<width>.<decimals>f" for the texts the program shows (the
// reciprocal-cell grid, the cell lines on the picture), always with "." as the
// decimal separator: std::to_chars never consults the locale, which the Qt
// application sets from the environment.

#include <string>

std::string FormatFixed(float value, int width, int decimals);
