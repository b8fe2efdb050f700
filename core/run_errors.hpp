#pragma once
// The two ways a generation run ends short of its picture.
//
// RunMessage: a condition that a step tests itself ("Bitte Raumgruppe wählen!" …);
// the window shows the text unchanged in a plain message box.
//
// RunTimeError: an error that no step tests (a failed conversion, a division by
// zero, an overflow, a failed range check); the window's general error report
// shows the text with a full stop added where it lacks one.
//
// Both end the run at the point where they are thrown; whatever the run had
// already changed stays changed.

#include <stdexcept>
#include <string>

class RunMessage : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class RunTimeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The texts of the run-time errors, without the full stop that the report adds.
namespace error_text {
inline constexpr char kFloatOverflow[] = "Gleitkommaüberlauf";
inline constexpr char kFloatDivisionByZero[] = "Gleitkommadivision durch Null";
inline constexpr char kInvalidFloatOperation[] = "Ungültige Gleitkommaoperation";
inline constexpr char kRangeCheck[] = "Fehler bei Bereichsprüfung";
inline constexpr char kIntegerOverflow[] = "Integerüberlauf";
inline constexpr char kClipboard[] = "Zwischenablage kann nicht geöffnet werden";

// "'%s' ist kein gültiger Gleitkommawert" with the offending text in place of %s.
std::string NotAFloat(const std::string& text);
}  // namespace error_text

// The text the general error report shows for a run-time error: a full stop is
// added unless the text already ends with one.
std::string ErrorReportText(const std::string& text);
