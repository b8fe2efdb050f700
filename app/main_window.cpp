#include "app/main_window.hpp"

#include "app/generation_run.hpp"
#include "app/program_name.hpp"
#include "app/up_down.hpp"
#include "catalogue/group_list.hpp"
#include "catalogue/space_group_table.hpp"
#include "core/run_errors.hpp"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTableWidget>

#include <algorithm>

namespace {

const CellTexts kDefaultLatticeCells = {"900", "1100", "1350", "90.0", "110.0", "90.0"};

constexpr int kGridRows = 6;
constexpr int kGridColumnWidth = 60;
constexpr int kGridRowHeight = 22;
constexpr int kCaptionGap = 3;

std::string ToUtf8(const QString& text) { return text.toUtf8().toStdString(); }
QString FromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

template <typename Widget>
Widget* Place(Widget* widget, const char* name, int left, int top, int width, int height)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}

QLabel* Caption(const QString& text, const char* name, QWidget* parent, int left, int top)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->adjustSize();
    label->move(left, top);
    return label;
}

// An edit with its caption above or to its left, the caption being the
// edit's buddy so that screen readers announce the edit by it.
QLineEdit* CaptionedEdit(QWidget* parent, const char* name, const QString& caption, bool captionLeft, int left,
                         int top, int width, int height, const QString& text)
{
    auto* edit = Place(new QLineEdit(text, parent), name, left, top, width, height);
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name) + QStringLiteral("Caption"));
    label->adjustSize();
    label->setMargin(0);
    if (captionLeft)
        label->move(std::max(0, left - kCaptionGap - label->width()), top + (height - label->height()) / 2);
    else
        label->move(left, top - kCaptionGap - label->height());
    label->setBuddy(edit);
    edit->setAccessibleName(caption);
    return edit;
}

// A group box of radio items, each item's index being its id in the group.
QGroupBox* RadioGroup(QWidget* parent, const char* name, const QString& caption, const QStringList& items, int left,
                      int top, int width, int height, QButtonGroup*& buttons)
{
    auto* box = Place(new QGroupBox(caption, parent), name, left, top, width, height);
    buttons = new QButtonGroup(box);
    const int itemHeight = (height - 20) / static_cast<int>(items.size());
    for (int i = 0; i < items.size(); ++i) {
        auto* item = new QRadioButton(items[i], box);
        item->setObjectName(QString::fromLatin1(name) + QStringLiteral("Item%1").arg(i));
        item->setGeometry(8, 16 + i * itemHeight, width - 12, itemHeight);
        buttons->addButton(item, i);
    }
    buttons->button(0)->setChecked(true);
    return box;
}

QTableWidget* Grid(QWidget* parent, const char* name, const QString& accessibleName, int columns, int left, int top)
{
    auto* grid = Place(new QTableWidget(kGridRows, columns, parent), name, left, top, 65, 142);
    grid->setAccessibleName(accessibleName);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setShowGrid(true);
    for (int column = 0; column < columns; ++column)
        grid->setColumnWidth(column, kGridColumnWidth);
    for (int row = 0; row < kGridRows; ++row) {
        grid->setRowHeight(row, kGridRowHeight);
        for (int column = 0; column < columns; ++column)
            grid->setItem(row, column, new QTableWidgetItem());
    }
    return grid;
}

QWidget* CaptionPanel(QWidget* parent, const char* name, int left, int top, int width, int height,
                      std::initializer_list<std::tuple<const char*, const char*, int, int>> captions)
{
    auto* panel = Place(new QFrame(parent), name, left, top, width, height);
    for (const auto& [labelName, text, x, y] : captions)
        Caption(QString::fromUtf8(text), labelName, panel, x, y);
    return panel;
}

}  // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kProgramName);
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    buildControls();
    setTabOrderOfControls();
    resize(859, 725);  // an outer size of 875 × 764 with the usual frame
    move(187, 139);
    Button1->setFocus();
}

TForm1::~TForm1() = default;

void TForm1::buildControls()
{
    scrollArea_ = new QScrollArea(this);
    scrollArea_->setObjectName(QStringLiteral("Form1Scroll"));
    scrollArea_->setFrameShape(QFrame::NoFrame);
    scrollArea_->setBackgroundRole(QPalette::Button);
    setCentralWidget(scrollArea_);
    client_ = new QWidget(scrollArea_);
    client_->setObjectName(QStringLiteral("Form1Client"));
    client_->setBackgroundRole(QPalette::Button);
    client_->setAutoFillBackground(true);
    QWidget* w = client_;

    Image1 = Place(new QLabel(w), "Image1", 24, 216, 209, 169);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->setAccessibleName(QStringLiteral("Bild"));

    Label13 = Place(new QLabel(QStringLiteral("Bilder in der Zwischenablage!"), w), "Label13", 648, 173, 206, 20);
    Label13->setFont(QFont(QStringLiteral("MS Sans Serif"), 12));
    Label13->setBackgroundRole(QPalette::Window);
    Label13->setAutoFillBackground(true);
    QPalette yellow = Label13->palette();
    yellow.setColor(QPalette::Window, Qt::yellow);
    yellow.setColor(QPalette::WindowText, Qt::black);
    Label13->setPalette(yellow);
    Label13->hide();

    Button1 = Place(new QPushButton(QStringLiteral("Bilder generieren"), w), "Button1", 648, 13, 105, 65);

    GroupBox1 = Place(new QGroupBox(QStringLiteral("Gitterparameter"), w), "GroupBox1", 328, 8, 305, 187);
    StringGrid1 = Grid(GroupBox1, "StringGrid1", QStringLiteral("Gitterparameter"), 1, 89, 18);
    StringGrid1->setEditTriggers(QAbstractItemView::AllEditTriggers);
    CaptionPanel(GroupBox1, "Panel1", 3, 15, 81, 153,
                 {{"Label1", "a/pm", 45, 8},
                  {"Label2", "b/pm", 46, 32},
                  {"Label3", "c/pm", 47, 56},
                  {"Label4", "Alpha/Grad", 18, 80},
                  {"Label5", "Beta/Grad", 23, 102},
                  {"Label6", "Gamma/Grad", 9, 125}});
    // Column 0 of the reciprocal grid is a fixed column: shown in the header
    // colour and not editable. Column 1 lies outside the grid's width.
    StringGrid2 = Grid(GroupBox1, "StringGrid2", QStringLiteral("reziproke Gitterparameter"), 2, 227, 18);
    StringGrid2->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int row = 0; row < kGridRows; ++row) {
        QTableWidgetItem* fixed = StringGrid2->item(row, 0);
        fixed->setFlags(Qt::ItemIsEnabled);
        fixed->setBackground(StringGrid2->palette().button());
    }
    CaptionPanel(GroupBox1, "Panel2", 180, 15, 49, 153,
                 {{"Label7", "a*", 31, 8},
                  {"Label8", "b*", 31, 32},
                  {"Label9", "c*", 31, 56},
                  {"Label10", "Alpha*", 8, 80},
                  {"Label11", "Beta*", 14, 102},
                  {"Label12", "Gamma*", 0, 125}});
    CheckBox2 = Place(new QCheckBox(QStringLiteral("Achsen zeichnen"), GroupBox1), "CheckBox2", 189, 162, 105, 17);
    CheckBox2->setChecked(true);

    Button2 = Place(new QPushButton(QStringLiteral("Programm beenden"), w), "Button2", 760, 13, 97, 65);

    LabeledEdit1 = CaptionedEdit(w, "LabeledEdit1", QStringLiteral("max. sin(Theta)/Lambda"), false, 200, 144, 49, 21,
                                 QStringLiteral("0.4"));
    RadioGroup1 = RadioGroup(w, "RadioGroup1", QStringLiteral("Wellenlänge"),
                             {QStringLiteral("  70.926 (Mo k alpha1)"), QStringLiteral("154.051 (Cu k alpha1)")}, 8, 64,
                             145, 57, radioItems1_);

    GroupBox2 = Place(new QGroupBox(QStringLiteral("Kristallsystem, Raumgruppe (Nr., Symbol)"), w), "GroupBox2", 8, 8,
                      313, 49);
    ComboBox1 = Place(new QComboBox(GroupBox2), "ComboBox1", 8, 16, 297, 23);
    ComboBox1->setEditable(false);
    ComboBox1->setMaxVisibleItems(15);
    QFont fixedPitch(QStringLiteral("Fixedsys"), 9);
    fixedPitch.setStyleHint(QFont::TypeWriter);
    fixedPitch.setFixedPitch(true);
    ComboBox1->setFont(fixedPitch);
    ComboBox1->setAccessibleName(QStringLiteral("Raumgruppe"));

    RadioGroup2 = RadioGroup(w, "RadioGroup2", QStringLiteral("Auflösung"),
                             {QStringLiteral("normal"), QStringLiteral("hoch")}, 648, 98, 73, 57, radioItems2_);
    LabeledEdit2 =
        CaptionedEdit(w, "LabeledEdit2", QStringLiteral("freier Text"), true, 56, 174, 264, 21, QString());
    RadioGroup3 = RadioGroup(w, "RadioGroup3", QStringLiteral("Darstellung als"),
                             {QStringLiteral("Aufgabe"), QStringLiteral("Lösung")}, 760, 98, 97, 57, radioItems3_);
    LabeledEdit3 = CaptionedEdit(w, "LabeledEdit3", QStringLiteral("Struktur (= Parametersatz) Nr."), false, 8, 144, 33,
                                 21, QStringLiteral("1"));
    UpDown1 = Place(new UpDown(LabeledEdit3, 1, 1000, w), "UpDown1", 41, 144, 15, 21);
    RadioGroup4 = RadioGroup(w, "RadioGroup4", QStringLiteral("Ebenen generieren ..."),
                             {QStringLiteral("hk0, h0L, 0kL"), QStringLiteral("hk1, h1L, 1kL")}, 200, 64, 121, 57,
                             radioItems4_);

    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm1::Button2Click);

    fitClientToControls();
    scrollArea_->setWidget(client_);
}

void TForm1::setTabOrderOfControls()
{
    QList<QWidget*> order = {Button1, StringGrid1, StringGrid2, CheckBox2, Button2, LabeledEdit1};
    order += radioItems1_->buttons().first();
    order += {ComboBox1};
    order += radioItems2_->buttons().first();
    order += {LabeledEdit2};
    order += radioItems3_->buttons().first();
    order += {LabeledEdit3};
    order += radioItems4_->buttons().first();
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

// The client grows with Image1, so that the scroll bars reach the whole picture.
void TForm1::fitClientToControls()
{
    QRect extent;
    for (QWidget* child : client_->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        extent |= child->geometry();
    client_->resize(extent.right() + 1, extent.bottom() + 1);
}

bool TForm1::event(QEvent* e)
{
    // The toolkit activates the window again after every message box and on
    // every return from another program; only the first time sets up the
    // form, so the user's choices survive a run that stops with a message.
    // Showing counts as well as activating: without a window manager, or
    // with one that keeps new windows from taking the focus, the window may
    // never be activated and would otherwise stay without its group list.
    if ((e->type() == QEvent::WindowActivate || e->type() == QEvent::Show) && !activated_) {
        activated_ = true;
        FormActivate();
    }
    return QMainWindow::event(e);
}

void TForm1::FormActivate()
{
    InitializeForm();
}

void TForm1::InitializeForm()
{
    try {
        state_.patternBitmap = std::make_unique<Canvas>();
        ComboBox1->clear();
        BuildGroupList(
            SpaceGroupTable(), [this](const std::string& item) { ComboBox1->addItem(FromUtf8(item)); },
            state_.groupLine);
        ComboBox1->setCurrentIndex(0);
        setLatticeCells(kDefaultLatticeCells);
    } catch (const std::exception& error) {
        reportError(error);
    }
}

void TForm1::Button1Click()
{
    try {
        RunGeneration(state_, *this);
    } catch (const RunMessage& message) {
        sink_->showRunMessage(QString::fromUtf8(message.what()));
    } catch (const std::exception& error) {
        reportError(error);
    }
}

void TForm1::Button2Click()
{
    close();
}

void TForm1::reportError(const std::exception& error)
{
    sink_->showErrorReport(QString::fromUtf8(ErrorReportText(error.what()).c_str()));
}

// --- RunControls over the widgets ---

int TForm1::wavelengthIndex() const { return radioItems1_->checkedId(); }
int TForm1::resolutionIndex() const { return radioItems2_->checkedId(); }
int TForm1::presentationIndex() const { return radioItems3_->checkedId(); }
int TForm1::layerIndex() const { return radioItems4_->checkedId(); }
bool TForm1::axesChecked() const { return CheckBox2->isChecked(); }
std::string TForm1::limitText() const { return ToUtf8(LabeledEdit1->text()); }
std::string TForm1::structureNumberText() const { return ToUtf8(LabeledEdit3->text()); }
std::string TForm1::freeText() const { return ToUtf8(LabeledEdit2->text()); }
int TForm1::selectedGroup() const { return ComboBox1->currentIndex(); }
std::string TForm1::groupItem(int index) const { return ToUtf8(ComboBox1->itemText(index)); }

CellTexts TForm1::latticeCells() const
{
    CellTexts cells;
    for (int row = 0; row < kGridRows; ++row)
        cells[row] = ToUtf8(StringGrid1->item(row, 0)->text());
    return cells;
}

void TForm1::setLatticeCells(const CellTexts& cells)
{
    for (int row = 0; row < kGridRows; ++row)
        StringGrid1->item(row, 0)->setText(FromUtf8(cells[row]));
}

void TForm1::setReciprocalCells(const CellTexts& cells)
{
    for (int row = 0; row < kGridRows; ++row)
        StringGrid2->item(row, 0)->setText(FromUtf8(cells[row]));
}

void TForm1::showPicture(const QImage& picture)
{
    Image1->resize(picture.width(), picture.height());
    Image1->setPixmap(QPixmap::fromImage(picture));
    fitClientToControls();
}

void TForm1::putOnClipboard(const QImage& picture)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    // Qt offers the image as a bitmap and as PNG to whoever pastes it.
    clipboard->setImage(picture);
    const QMimeData* offered = clipboard->mimeData();
    if (!offered || !offered->hasImage())
        throw RunTimeError(error_text::kClipboard);
}

void TForm1::showClipboardNotice()
{
    Label13->show();
}
