#include "render/fonts.hpp"

#include <QFont>

void InstallFontSubstitutes()
{
    // Liberation Sans has Arial's metrics; Z003 is URW's calligraphic script
    // face.
    //
    // The picture writes only the copyright sign in "Symbol", and it places
    // the credit line by the Symbol cell's height while the credit text is in
    // Arial: a Symbol face with a shorter cell than Arial's pushes the text's
    // descenders off the bottom edge. Standard Symbols PS, the URW clone of
    // Symbol, has a cell of one em against Arial's 1.12, so Liberation Sans
    // stands in for it, with the sign and exactly Arial's cell.
    QFont::insertSubstitution("Arial", "Liberation Sans");
    QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
    QFont::insertSubstitution("Symbol", "Liberation Sans");
    QFont::insertSubstitution("Script", "Z003");
    QFont::insertSubstitution("Courier New", "Liberation Mono");
    QFont::insertSubstitution("Fixedsys", "Liberation Mono");
}
