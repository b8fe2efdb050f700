#include "app/message_sink.hpp"

#include "app/program_name.hpp"

#include <QAbstractButton>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>

namespace {

// Ctrl+C copies the whole box, as message boxes on Windows do, so that a
// teacher can paste a message into a question or a report. Qt does this only
// on Windows; the layout is the same: title, text and buttons between dashed
// lines.
class CopyableMessageBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event != QKeySequence::Copy) {
            QMessageBox::keyPressEvent(event);
            return;
        }
        const QString separator = QStringLiteral("---------------------------\n");
        QString buttons;
        for (QAbstractButton* button : this->buttons())
            buttons += button->text().remove(QLatin1Char('&')) + QStringLiteral("   ");
        QGuiApplication::clipboard()->setText(separator + windowTitle() + QLatin1Char('\n') + separator + text() +
                                              QLatin1Char('\n') + separator + buttons + QLatin1Char('\n') +
                                              separator);
        event->accept();
    }
};

}  // namespace

void MessageBoxSink::showRunMessage(const QString& text)
{
    // Centred on the screen rather than on the window, and modal to the
    // whole program so the window takes no input until it is closed.
    CopyableMessageBox box(QMessageBox::NoIcon, kProgramName, text, QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

void MessageBoxSink::showErrorReport(const QString& text)
{
    CopyableMessageBox box(QMessageBox::Critical, kProgramName, text, QMessageBox::Ok, window_);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}
