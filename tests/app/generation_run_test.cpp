#include "window_fixture.hpp"

#include "crystal/structure.hpp"

#include <QScrollArea>
#include <QScrollBar>

namespace {

using GenerationRun = WindowTest;

TEST_F(GenerationRun, DefaultRunPublishesThePicture)
{
    generate();
    ASSERT_TRUE(messages.empty()) << (messages.errorReports.empty() ? messages.runMessages.front().toStdString()
                                                                    : messages.errorReports.front().toStdString());
    const QImage published = clipboardImage();
    EXPECT_EQ(published.size(), QSize(800, 500));
    EXPECT_EQ(image()->size(), QSize(800, 500));
    EXPECT_EQ(image()->pixmap().size(), QSize(800, 500));
    EXPECT_TRUE(notice()->isVisible());

    // The reciprocal cell of the default monoclinic cell at Mo Kα1.
    const QStringList expected = {"0.08386", "0.06448", "0.05591", " 90.0", " 70.0", " 90.0"};
    for (int row = 0; row < 6; ++row)
        EXPECT_EQ(reciprocalCell(row), expected[row]) << row;
    // Monoclinic forces α and γ to the texts they already hold.
    EXPECT_EQ(cell(3), "90.0");
    EXPECT_EQ(cell(5), "90.0");
}

TEST_F(GenerationRun, HighResolutionDoublesThePictureAndScrolls)
{
    radioItem("RadioGroup2", 1)->setChecked(true);
    generate();
    ASSERT_TRUE(messages.empty());
    EXPECT_EQ(clipboardImage().size(), QSize(1600, 1000));
    EXPECT_EQ(image()->size(), QSize(1600, 1000));
    auto* scroll = form->findChild<QScrollArea*>();
    ASSERT_NE(scroll, nullptr);
    QApplication::processEvents();
    EXPECT_GT(scroll->horizontalScrollBar()->maximum(), 0);
    EXPECT_GT(scroll->verticalScrollBar()->maximum(), 0);
}

TEST_F(GenerationRun, LimitWithDecimalCommaIsRejectedAndChangesNothing)
{
    generate();
    ASSERT_TRUE(messages.empty());
    const QImage before = image()->pixmap().toImage();

    selectGroup("kubisch ");
    setCell(1, "123");
    control<QLineEdit>("LabeledEdit1")->setText("0,4");
    control<QLineEdit>("LabeledEdit2")->setText("neu");
    generate();
    ASSERT_EQ(messages.errorReports.size(), 1u);
    EXPECT_EQ(messages.errorReports[0], "'0,4' ist kein gültiger Gleitkommawert.");
    EXPECT_TRUE(messages.runMessages.empty());
    EXPECT_EQ(cell(1), "123");  // the cubic constraint was not reached
    EXPECT_EQ(image()->pixmap().toImage(), before);
    EXPECT_TRUE(notice()->isVisible());

    // The window keeps working: a valid limit gives a picture again.
    control<QLineEdit>("LabeledEdit1")->setText(" 0.4 ");
    generate();
    EXPECT_EQ(messages.errorReports.size(), 1u);
    EXPECT_EQ(cell(1), "900");
}

TEST_F(GenerationRun, NoSelectedGroupStopsAfterTheStructureWasDrawn)
{
    control<QLineEdit>("LabeledEdit3")->setText("7");
    groups()->setCurrentIndex(-1);
    generate();
    ASSERT_EQ(messages.runMessages.size(), 1u);
    EXPECT_EQ(messages.runMessages[0], "Bitte Raumgruppe wählen!");
    EXPECT_TRUE(messages.errorReports.empty());
    EXPECT_FALSE(notice()->isVisible());
    EXPECT_TRUE(clipboardImage().isNull());

    RandomState seeded = 0;
    AtomSites sites;
    SeedStructure(7, seeded, sites);
    EXPECT_EQ(form->runState().random, seeded);
    EXPECT_EQ(form->runState().sites.SiteX[0], sites.SiteX[0]);
}

TEST_F(GenerationRun, BadCellStopsWithItsMessageAndKeepsTheForcedCells)
{
    generate();
    ASSERT_TRUE(messages.empty());
    const QString shownBefore = reciprocalCell(0);

    selectGroup("hexagonal       168");
    setCell(0, "500");
    setCell(2, "90,0");
    generate();
    ASSERT_EQ(messages.runMessages.size(), 1u);
    EXPECT_EQ(messages.runMessages[0], "Gitterparameter-Test: 90,0 ist keine gültige Zahl");
    EXPECT_EQ(cell(1), "500");    // forced before reading
    EXPECT_EQ(cell(5), "120.0");  // forced before reading
    EXPECT_EQ(cell(2), "90,0");   // the user's text stays for correcting
    EXPECT_EQ(reciprocalCell(0), shownBefore);
    EXPECT_TRUE(groups()->currentText().startsWith("hexagonal       168"));
}

TEST_F(GenerationRun, RunTimeErrorAfterACompleteRunKeepsTheEarlierPicture)
{
    generate();
    ASSERT_TRUE(messages.empty());
    const QImage before = clipboardImage();
    setCell(4, "0");  // β = 0: the reciprocal cell divides by zero
    generate();
    ASSERT_EQ(messages.errorReports.size(), 1u);
    EXPECT_EQ(messages.errorReports[0], "Gleitkommadivision durch Null.");
    EXPECT_EQ(reciprocalCell(4), " 70.0");
    EXPECT_TRUE(notice()->isVisible());
    EXPECT_EQ(clipboardImage(), before);
}

}  // namespace

namespace {

TEST_F(GenerationRun, ReadsThePresentationOptionsIntoTheSettings)
{
    const struct {
        int resolution, wavelength, presentation, layer;
        bool axesChecked;
        const char* structure;
        int factor;
        float lambda;
        bool exercise, axesOn;
        int layerIndex, structureNumber;
    } cases[] = {
        {0, 0, 0, 0, true, "1", 1, 70.926f, true, true, 0, 1},
        {1, 1, 0, 1, false, "$A", 2, 154.051f, true, false, 1, 10},
        {0, 0, 1, 0, false, "-7x", 1, 70.926f, false, true, 0, 7},  // "Lösung" draws axes regardless
        {1, 0, 1, 1, true, "12abc", 2, 70.926f, false, true, 1, 12},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.structure);
        radioItem("RadioGroup2", c.resolution)->setChecked(true);
        radioItem("RadioGroup1", c.wavelength)->setChecked(true);
        radioItem("RadioGroup3", c.presentation)->setChecked(true);
        radioItem("RadioGroup4", c.layer)->setChecked(true);
        control<QCheckBox>("CheckBox2")->setChecked(c.axesChecked);
        control<QLineEdit>("LabeledEdit3")->setText(c.structure);
        generate();
        ASSERT_TRUE(messages.empty());
        const RunSettings& s = form->runState().settings;
        EXPECT_EQ(s.ResolutionFactor, c.factor);
        EXPECT_EQ(s.PictureWidth, 800 * c.factor);
        EXPECT_EQ(s.PictureHeight, 500 * c.factor);
        EXPECT_EQ(s.Wavelength, c.lambda);
        EXPECT_EQ(s.ExerciseMode, c.exercise);
        EXPECT_EQ(s.AxesOn, c.axesOn);
        EXPECT_EQ(s.LayerIndex, c.layerIndex);
        EXPECT_EQ(s.StructureNumber, c.structureNumber);
        EXPECT_EQ(clipboardImage().size(), QSize(800 * c.factor, 500 * c.factor));
    }
}

TEST_F(GenerationRun, LimitOfZeroEndsBeforeThePictureIsCleared)
{
    generate();
    ASSERT_TRUE(messages.empty());
    const QImage before = clipboardImage();
    for (const char* limit : {"0", "0.001", "-0.4"}) {
        SCOPED_TRACE(limit);
        messages.errorReports.clear();
        control<QLineEdit>("LabeledEdit1")->setText(limit);
        generate();
        ASSERT_EQ(messages.errorReports.size(), 1u);
        EXPECT_EQ(messages.errorReports[0], "Gleitkommadivision durch Null.");
        EXPECT_EQ(clipboardImage(), before);
    }
}

}  // namespace
