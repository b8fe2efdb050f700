#include "app/message_sink.hpp"

#include "app/program_name.hpp"

#include <QMessageBox>

void MessageBoxSink::showRunMessage(const QString& text)
{
    // Centred on the screen rather than on the window, and modal to the
    // whole program so the window takes no input until it is closed.
    QMessageBox box(QMessageBox::NoIcon, kProgramName, text, QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

void MessageBoxSink::showErrorReport(const QString& text)
{
    QMessageBox box(QMessageBox::Critical, kProgramName, text, QMessageBox::Ok, window_);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}
