#include "window_fixture.hpp"

#include "app/up_down.hpp"

namespace {

using StartUp = WindowTest;

TEST_F(StartUp, ShowsEveryControlWithItsInitialValue)
{
    EXPECT_EQ(form->windowTitle(), "Beugungsbilder");

    ASSERT_EQ(groups()->count(), 228);
    EXPECT_EQ(groups()->currentText(), "monoklin        302 P121    ");
    EXPECT_EQ(groups()->itemText(227), "kubisch         230 IA-3D   ");
    EXPECT_FALSE(groups()->isEditable());
    EXPECT_TRUE(QFontInfo(groups()->font()).fixedPitch());

    const QStringList defaults = {"900", "1100", "1350", "90.0", "110.0", "90.0"};
    for (int row = 0; row < 6; ++row) {
        EXPECT_EQ(cell(row), defaults[row]) << row;
        EXPECT_EQ(reciprocalCell(row), "") << row;
    }

    EXPECT_EQ(control<QLineEdit>("LabeledEdit1")->text(), "0.4");
    EXPECT_EQ(control<QLineEdit>("LabeledEdit2")->text(), "");
    EXPECT_EQ(control<QLineEdit>("LabeledEdit3")->text(), "1");
    for (const char* group : {"RadioGroup1", "RadioGroup2", "RadioGroup3", "RadioGroup4"}) {
        EXPECT_TRUE(radioItem(group, 0)->isChecked()) << group;
        EXPECT_FALSE(radioItem(group, 1)->isChecked()) << group;
    }
    EXPECT_EQ(radioItem("RadioGroup1", 0)->text(), "  70.926 (Mo k alpha1)");
    EXPECT_EQ(radioItem("RadioGroup4", 1)->text(), "hk1, h1L, 1kL");
    EXPECT_TRUE(control<QCheckBox>("CheckBox2")->isChecked());
    EXPECT_FALSE(notice()->isVisible());
    EXPECT_EQ(image()->size(), QSize(209, 169));
    EXPECT_TRUE(image()->pixmap().isNull());
    EXPECT_TRUE(control<QPushButton>("Button1")->hasFocus());
}

TEST_F(StartUp, PlacesControlsWhereTheLayoutPutsThem)
{
    const struct {
        const char* name;
        QRect geometry;
    } places[] = {
        {"Image1", {24, 216, 209, 169}},      {"Label13", {648, 173, 206, 20}},
        {"Button1", {648, 13, 105, 65}},      {"GroupBox1", {328, 8, 305, 187}},
        {"StringGrid1", {89, 18, 65, 142}},   {"StringGrid2", {227, 18, 65, 142}},
        {"CheckBox2", {189, 162, 105, 17}},   {"Button2", {760, 13, 97, 65}},
        {"LabeledEdit1", {200, 144, 49, 21}}, {"RadioGroup1", {8, 64, 145, 57}},
        {"GroupBox2", {8, 8, 313, 49}},       {"ComboBox1", {8, 16, 297, 23}},
        {"RadioGroup2", {648, 98, 73, 57}},   {"LabeledEdit2", {56, 174, 264, 21}},
        {"RadioGroup3", {760, 98, 97, 57}},   {"LabeledEdit3", {8, 144, 33, 21}},
        {"UpDown1", {41, 144, 15, 21}},       {"RadioGroup4", {200, 64, 121, 57}},
    };
    for (const auto& place : places)
        EXPECT_EQ(control<QWidget>(place.name)->geometry(), place.geometry) << place.name;
}

TEST_F(StartUp, NamesEveryInputForScreenReaders)
{
    for (const char* edit : {"LabeledEdit1", "LabeledEdit2", "LabeledEdit3"}) {
        auto* caption = control<QLabel>((std::string(edit) + "Caption").c_str());
        EXPECT_EQ(caption->buddy(), control<QWidget>(edit)) << edit;
    }
    EXPECT_EQ(control<QLabel>("LabeledEdit1Caption")->text(), "max. sin(Theta)/Lambda");
    EXPECT_EQ(control<QLabel>("LabeledEdit3Caption")->text(), "Struktur (= Parametersatz) Nr.");
    EXPECT_EQ(groups()->accessibleName(), "Raumgruppe");
    EXPECT_EQ(cells()->accessibleName(), "Gitterparameter");
    EXPECT_EQ(reciprocal()->accessibleName(), "reziproke Gitterparameter");
}

TEST_F(StartUp, InitialisesOnlyOnTheFirstActivation)
{
    setCell(0, "777");
    selectGroup("kubisch ");
    // What a closed message box or a return from another program sends.
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(form.get(), &deactivate);
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(form.get(), &activate);
    EXPECT_EQ(cell(0), "777");
    EXPECT_TRUE(groups()->currentText().startsWith("kubisch "));
    EXPECT_EQ(groups()->count(), 228);
}

TEST_F(StartUp, SpinnerStepsWithinOneToThousand)
{
    auto* edit = control<QLineEdit>("LabeledEdit3");
    auto* spinner = control<UpDown>("UpDown1");
    const struct {
        const char* typed;
        int direction;
        const char* shown;
    } steps[] = {
        {"1", -1, "1"}, {"1", +1, "2"}, {"999", +1, "1000"}, {"1000", +1, "1000"}, {"5", -1, "4"},
    };
    for (const auto& step : steps) {
        edit->setText(step.typed);
        spinner->step(step.direction);
        EXPECT_EQ(edit->text(), step.shown) << step.typed << " " << step.direction;
    }
    // The arrow keys step it while the edit has the focus; free text stays free.
    edit->setText("41");
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_EQ(edit->text(), "42");
    edit->setText("$A");
    EXPECT_EQ(edit->text(), "$A");
}

TEST_F(StartUp, QuitButtonClosesWithoutAsking)
{
    QTest::mouseClick(control<QPushButton>("Button2"), Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(messages.empty());
}

}  // namespace
