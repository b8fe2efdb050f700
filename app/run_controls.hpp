#pragma once
// What a generation run reads from and writes to the window. The window
// implements it over its widgets; tests and the fuzzer implement it over plain
// values, so the whole run can be driven without a screen.

#include "crystal/lattice.hpp"

#include <QImage>
#include <string>

class RunControls {
public:
    virtual ~RunControls() = default;

    // Item indices of the four radio groups (-1 when none is checked).
    virtual int wavelengthIndex() const = 0;    // "Wellenlänge"
    virtual int resolutionIndex() const = 0;    // "Auflösung"
    virtual int presentationIndex() const = 0;  // "Darstellung als"
    virtual int layerIndex() const = 0;         // "Ebenen generieren ..."
    virtual bool axesChecked() const = 0;       // "Achsen zeichnen"

    // Texts as typed, in UTF-8.
    virtual std::string limitText() const = 0;            // "max. sin(Theta)/Lambda"
    virtual std::string structureNumberText() const = 0;  // "Struktur (= Parametersatz) Nr."
    virtual std::string freeText() const = 0;             // "freier Text"

    // The group list: the selected index (-1 for none) and an item's text.
    virtual int selectedGroup() const = 0;
    virtual std::string groupItem(int index) const = 0;

    // The direct cell typed by the user and the reciprocal cell shown after a run.
    virtual CellTexts latticeCells() const = 0;
    virtual void setLatticeCells(const CellTexts& cells) = 0;
    virtual void setReciprocalCells(const CellTexts& cells) = 0;

    // Publishing the finished picture, in the order the run calls them.
    virtual void showPicture(const QImage& picture) = 0;     // the image control, resized to the picture
    virtual void putOnClipboard(const QImage& picture) = 0;  // throws RunTimeError when it cannot
    virtual void showClipboardNotice() = 0;                  // "Bilder in der Zwischenablage!"
};
