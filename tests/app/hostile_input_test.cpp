// Settings no teacher would type, on the whole run: each run ends with its
// picture or with one of the run's messages, publishes nothing when it stops,
// and leaves the program able to draw the next picture exactly as a fresh
// window would. Several of the cases came from the run fuzzer
// (tests/fuzz/fuzz_generation_run.cpp); the rest are the limits of each input.
#include "window_fixture.hpp"

#include "app/generation_run.hpp"
#include "core/run_errors.hpp"
#include "tests/fuzz/plain_run_controls.hpp"

#include <functional>
#include <string>

namespace {

using namespace std::string_literals;

// How a run ended: "picture", or the text the window shows for it.
std::string Outcome(RunState& state, PlainRunControls& controls)
{
    try {
        RunGeneration(state, controls);
    } catch (const RunMessage& message) {
        return message.what();
    } catch (const RunTimeError& error) {
        return ErrorReportText(error.what());
    }
    return "picture";
}

QImage DefaultPicture()
{
    RunState state;
    PlainRunControls controls;
    InitializePlainRun(state, controls);
    EXPECT_EQ(Outcome(state, controls), "picture");
    return controls.clipboard;
}

const std::string kPicture = "picture";
const std::string kDivisionByZero = "Gleitkommadivision durch Null.";
const std::string kOverflow = "Gleitkommaüberlauf.";
const std::string kInvalidOperation = "Ungültige Gleitkommaoperation.";
const std::string kRangeCheck = "Fehler bei Bereichsprüfung.";
const std::string kTriclinic = "Trikline Symmetrie ist nicht vorgesehen";

std::string NotAFloat(const std::string& text) { return ErrorReportText(error_text::NotAFloat(text)); }
std::string NotANumber(const std::string& text) { return "Gitterparameter-Test: " + text + " ist keine gültige Zahl"; }

struct HostileCase {
    const char* name;
    std::function<void(PlainRunControls&)> set;
    std::string outcome;
};

std::function<void(PlainRunControls&)> Limit(std::string text)
{
    return [text](PlainRunControls& c) { c.limit = text; };
}

std::function<void(PlainRunControls&)> Cell(int row, std::string text, int group = 0)
{
    return [=](PlainRunControls& c) {
        c.cells[static_cast<std::size_t>(row)] = text;
        c.group = group;
    };
}

const HostileCase kCases[] = {
    // The limit: the reader's refusals, then values the steps cannot use.
    {"empty limit", Limit(""), NotAFloat("")},
    {"tab before the limit", Limit("\t0.4"), NotAFloat("\t0.4")},
    {"line feed after the limit", Limit("0.4\n"), NotAFloat("0.4\n")},
    {"nan", Limit("nan"), NotAFloat("nan")},
    {"inf", Limit("inf"), NotAFloat("inf")},
    {"hexadecimal float", Limit("0x1p-2"), NotAFloat("0x1p-2")},
    {"zero", Limit("0"), kDivisionByZero},
    {"minus zero", Limit("-0"), kDivisionByZero},
    {"negative, so no reflection", Limit("-0.4"), kDivisionByZero},
    {"smaller than every reflection", Limit("0.001"), kDivisionByZero},
    {"underflows to zero in single", Limit("1e-50"), kDivisionByZero},
    {"smallest single: the scale overflows", Limit("1e-45"), kOverflow},
    {"bounds beyond 64 bits", Limit("1e19"), kInvalidOperation},
    {"square beyond single", Limit("1e20"), kOverflow},
    {"beyond single", Limit("1e39"), kOverflow},
    {"beyond extended", Limit("1e5000"), kOverflow},
    {"a full list", Limit("100"), kPicture},
    // The cells, in the monoclinic first group unless a group is named.
    {"empty cell", Cell(0, ""), NotANumber("")},
    {"blank after a cell", Cell(0, "900 "), NotANumber("900 ")},
    // The message is a C string and ends at the NUL; no edit lets a user type one.
    {"NUL inside a cell", Cell(0, "9\0"s "00"), NotANumber("9\0"s "00").c_str()},
    {"fullwidth digits", Cell(0, "\xef\xbc\x99\xef\xbc\x90\xef\xbc\x90"),
     NotANumber("\xef\xbc\x99\xef\xbc\x90\xef\xbc\x90")},
    {"zero length", Cell(0, "0"), kDivisionByZero},
    {"a lone point reads as zero", Cell(1, "."), kDivisionByZero},
    {"negative length", Cell(0, "-900"), kPicture},
    {"length beyond single", Cell(2, "1e39"), kOverflow},
    {"length beyond extended", Cell(2, "1e5000"), kOverflow},
    {"beta zero", Cell(4, "0"), kDivisionByZero},
    {"beta 180", Cell(4, "180"), kDivisionByZero},
    {"beta a full turn", Cell(4, "360"), kPicture},
    {"beta nan", Cell(4, "nan"), NotANumber("nan")},
    {"huge direct cell: the reciprocal one is too small to index", Cell(0, "1e20", 227), kRangeCheck},
    // From the run fuzzer: a cubic cell of 9e8 pm fills the list from a few
    // rows of a plane with millions of index pairs per row.
    {"huge cubic cell, full list", Cell(0, "900005509", 227), kPicture},
    {"tiny a: the basis vector leaves the 32-bit range",
     [](PlainRunControls& c) {
         c.cells[0] = "1e-6";
         c.presentation = 1;
     },
     kRangeCheck},
    {"tiny a in Aufgabe: no basis vectors to draw", Cell(0, "1e-6"), kPicture},
    // Indices that the window never reports but a run must survive.
    {"no wavelength", [](PlainRunControls& c) { c.wavelength = -1; }, kRangeCheck},
    {"a third wavelength", [](PlainRunControls& c) { c.wavelength = 2; }, kRangeCheck},
    {"resolution past the items",
     [](PlainRunControls& c) {
         c.resolution = 3;
         c.presentation = -1;
         c.layer = 7;
     },
     kPicture},
    {"no group", [](PlainRunControls& c) { c.group = -1; }, "Bitte Raumgruppe wählen!"},
    {"a group past the list", [](PlainRunControls& c) { c.group = 228; }, kTriclinic},
    {"the last group", [](PlainRunControls& c) { c.group = 227; }, kPicture},
    // Texts: the structure number never fails, the free text is drawn as it is.
    {"structure number beyond 32 bits", [](PlainRunControls& c) { c.structureNumber = "99999999999999999999"; },
     kPicture},
    {"most negative structure number", [](PlainRunControls& c) { c.structureNumber = "-2147483648"; }, kPicture},
    {"free text of 100000 characters",
     [](PlainRunControls& c) {
         c.text = std::string(100000, 'W');
         c.presentation = 1;
     },
     kPicture},
    {"free text that is not UTF-8", [](PlainRunControls& c) { c.text = "\xff\xfe\xc3(\x01\x7f\0z"s; }, kPicture},
};

TEST(HostileInput, EveryRunEndsCleanlyAndTheNextIsAsFromAFreshWindow)
{
    const QImage fresh = DefaultPicture();
    ASSERT_EQ(fresh.size(), QSize(800, 500));
    for (const HostileCase& c : kCases) {
        SCOPED_TRACE(c.name);
        RunState state;
        PlainRunControls controls;
        InitializePlainRun(state, controls);
        c.set(controls);

        const std::string outcome = Outcome(state, controls);
        EXPECT_EQ(outcome, c.outcome);
        if (outcome == kPicture) {
            const QSize size = controls.clipboard.size();
            EXPECT_TRUE(size == QSize(800, 500) || size == QSize(1600, 1000));
            EXPECT_EQ(controls.shown, controls.clipboard);
            EXPECT_TRUE(controls.noticeShown);
        } else {
            EXPECT_TRUE(controls.clipboard.isNull()) << "a run that stops publishes nothing";
            EXPECT_TRUE(controls.shown.isNull());
            EXPECT_FALSE(controls.noticeShown);
        }

        // The user corrects the input and presses the button again.
        PlainRunControls again;
        again.groupItems = controls.groupItems;
        ASSERT_EQ(Outcome(state, again), kPicture);
        EXPECT_EQ(again.clipboard, fresh) << "the run left state behind that changes the next picture";
    }
}

TEST(HostileInput, ASolutionStoppedInItsBasisVectorsLeavesTheThinPen)
{
    // The thick pen of the basis vectors must not outlive a run that stops
    // while drawing them, or every later exercise would be drawn thick.
    RunState state;
    PlainRunControls controls;
    InitializePlainRun(state, controls);
    controls.cells[0] = "1e-6";
    controls.presentation = 1;
    ASSERT_EQ(Outcome(state, controls), kRangeCheck);
    EXPECT_EQ(state.patternBitmap->penWidth(), 1);

    PlainRunControls exercise;
    exercise.groupItems = controls.groupItems;
    ASSERT_EQ(Outcome(state, exercise), kPicture);
    EXPECT_EQ(exercise.clipboard, DefaultPicture());
}

// The same through the real window: texts typed into its edits and cells
// reach the run as UTF-8, and a box for each stopped run leaves the window
// ready for the next.
using HostileWindowInput = WindowTest;

TEST_F(HostileWindowInput, TextsFromOtherScriptsStopTheRunAndTheWindowGoesOn)
{
    struct Typed {
        const char* edit;  // an edit's name, or nullptr for the first cell
        QString text;
        QString report;    // the error report, or empty for a run message
        QString message;
    };
    const Typed typed[] = {
        {"LabeledEdit1", QStringLiteral("\u0660.\u0664"), QStringLiteral("'\u0660.\u0664' ist kein gültiger Gleitkommawert."),
         {}},
        {"LabeledEdit1", QStringLiteral("0.4\u00a0"), QStringLiteral("'0.4\u00a0' ist kein gültiger Gleitkommawert."),
         {}},
        {nullptr, QStringLiteral("\uff19\uff10\uff10"), {},
         QStringLiteral("Gitterparameter-Test: \uff19\uff10\uff10 ist keine gültige Zahl")},
    };
    for (const Typed& t : typed) {
        SCOPED_TRACE(t.text.toStdString());
        messages.runMessages.clear();
        messages.errorReports.clear();
        if (t.edit)
            control<QLineEdit>(t.edit)->setText(t.text);
        else
            setCell(0, t.text);
        generate();
        if (t.report.isEmpty()) {
            ASSERT_EQ(messages.runMessages.size(), 1u);
            EXPECT_EQ(messages.runMessages[0], t.message);
        } else {
            ASSERT_EQ(messages.errorReports.size(), 1u);
            EXPECT_EQ(messages.errorReports[0], t.report);
        }
        EXPECT_FALSE(notice()->isVisible());
        control<QLineEdit>("LabeledEdit1")->setText(QStringLiteral("0.4"));
        setCell(0, QStringLiteral("900"));
    }

    // A free text in several scripts, far wider than the picture, is drawn.
    control<QLineEdit>("LabeledEdit2")->setText(QStringLiteral("Größe ≠ \u05e9\u05dc\u05d5\u05dd \U0001F52C ").repeated(200));
    messages.runMessages.clear();
    messages.errorReports.clear();
    generate();
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(clipboardImage().size(), QSize(800, 500));
    EXPECT_TRUE(notice()->isVisible());
}

}  // namespace
