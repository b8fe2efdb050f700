#pragma once
// The program's one window: every input of a run, the two command buttons,
// the reciprocal-cell grid, the last picture and the clipboard notice. It
// builds and wires its widgets; the run itself lives in generation_run.

#include "app/message_sink.hpp"
#include "app/run_controls.hpp"
#include "app/run_state.hpp"

#include <QMainWindow>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QTableWidget;
class UpDown;

class TForm1 : public QMainWindow, private RunControls {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Tests capture the messages instead of blocking on modal boxes.
    void setMessageSink(MessageSink* sink) { sink_ = sink; }
    const RunState& runState() const { return state_; }

    // The handlers, public so that tests can raise them as the toolkit would.
    void FormActivate();
    void Button1Click();
    void Button2Click();

protected:
    bool event(QEvent* event) override;

private:
    void InitializeForm();
    void buildControls();
    void setTabOrderOfControls();
    void fitClientToControls();
    void reportError(const std::exception& error);

    // RunControls
    int wavelengthIndex() const override;
    int resolutionIndex() const override;
    int presentationIndex() const override;
    int layerIndex() const override;
    bool axesChecked() const override;
    std::string limitText() const override;
    std::string structureNumberText() const override;
    std::string freeText() const override;
    int selectedGroup() const override;
    std::string groupItem(int index) const override;
    CellTexts latticeCells() const override;
    void setLatticeCells(const CellTexts& cells) override;
    void setReciprocalCells(const CellTexts& cells) override;
    void showPicture(const QImage& picture) override;
    void putOnClipboard(const QImage& picture) override;
    void showClipboardNotice() override;

    RunState state_;
    MessageBoxSink boxes_{this};
    MessageSink* sink_ = &boxes_;
    bool activated_ = false;

    QScrollArea* scrollArea_ = nullptr;
    QWidget* client_ = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Label13 = nullptr;
    QPushButton* Button1 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QTableWidget* StringGrid1 = nullptr;
    QTableWidget* StringGrid2 = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    QPushButton* Button2 = nullptr;
    QLineEdit* LabeledEdit1 = nullptr;
    QGroupBox* RadioGroup1 = nullptr;
    QButtonGroup* radioItems1_ = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QGroupBox* RadioGroup2 = nullptr;
    QButtonGroup* radioItems2_ = nullptr;
    QLineEdit* LabeledEdit2 = nullptr;
    QGroupBox* RadioGroup3 = nullptr;
    QButtonGroup* radioItems3_ = nullptr;
    QLineEdit* LabeledEdit3 = nullptr;
    UpDown* UpDown1 = nullptr;
    QGroupBox* RadioGroup4 = nullptr;
    QButtonGroup* radioItems4_ = nullptr;
};
