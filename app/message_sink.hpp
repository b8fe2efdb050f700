#pragma once
// Where the two kinds of failure of a run reach the user. The window shows
// them in modal message boxes; tests capture them instead of blocking.

#include <QString>

class QWidget;

class MessageSink {
public:
    virtual ~MessageSink() = default;
    // A condition that a step tests itself: a plain box with an OK button.
    virtual void showRunMessage(const QString& text) = 0;
    // An error no step tests: the general error report, an error box. The text
    // already ends with its full stop.
    virtual void showErrorReport(const QString& text) = 0;
};

// The real thing: modal QMessageBoxes titled with the program's name.
class MessageBoxSink : public MessageSink {
public:
    explicit MessageBoxSink(QWidget* window) : window_(window) {}
    void showRunMessage(const QString& text) override;
    void showErrorReport(const QString& text) override;

private:
    QWidget* window_;
};
