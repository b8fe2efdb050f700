#include "render/fonts.hpp"

#include <QFont>

void InstallFontSubstitutes()
{
    // Liberation Sans has Arial's metrics; Standard Symbols PS is URW's clone
    // of Symbol (the canvas maps the copyright sign onto its symbol-encoded
    // slot); Z003 is URW's calligraphic script face.
    QFont::insertSubstitution("Arial", "Liberation Sans");
    // The window's captions were laid out for MS Sans Serif, which is
    // narrower than Arial; the narrow cut keeps them inside their places.
    QFont::insertSubstitution("MS Sans Serif", "Liberation Sans Narrow");
    QFont::insertSubstitution("Symbol", "Standard Symbols PS");
    QFont::insertSubstitution("Script", "Z003");
    QFont::insertSubstitution("Courier New", "Liberation Mono");
    QFont::insertSubstitution("Fixedsys", "Liberation Mono");
}
