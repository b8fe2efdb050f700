#pragma once
// A spinner bound to a line edit: two arrow buttons that step a whole number
// in the edit, while the edit itself keeps any text the user types (the run
// reads that text, not the spinner).

#include <QWidget>

class QLineEdit;
class QToolButton;

class UpDown : public QWidget {
    Q_OBJECT
public:
    UpDown(QLineEdit* buddy, int minimum, int maximum, QWidget* parent);

    // One step up (+1) or down (-1); clamps at the ends without wrapping and
    // writes the new position into the edit as plain digits.
    void step(int direction);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QLineEdit* buddy_;
    QToolButton* up_;
    QToolButton* down_;
    int minimum_;
    int maximum_;
    int position_;
};
