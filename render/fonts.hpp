#pragma once
// The picture and the window name Windows fonts ("Arial", "Symbol", "Script",
// "MS Sans Serif", "Courier New", "Fixedsys"); this maps each onto a free face
// with the same metrics or purpose that Debian ships.
void InstallFontSubstitutes();
