#pragma once
// A shown, activated main window whose message boxes are captured instead of
// blocking, with helpers to reach its controls by name as a user sees them.

#include "app/main_window.hpp"
#include "app/message_sink.hpp"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

struct CapturedMessages : MessageSink {
    std::vector<QString> runMessages;
    std::vector<QString> errorReports;
    void showRunMessage(const QString& text) override { runMessages.push_back(text); }
    void showErrorReport(const QString& text) override { errorReports.push_back(text); }
    bool empty() const { return runMessages.empty() && errorReports.empty(); }
};

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QGuiApplication::clipboard()->clear();
        form = std::make_unique<TForm1>();
        form->setMessageSink(&messages);
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    template <typename T>
    T* control(const char* name) const
    {
        T* found = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    QComboBox* groups() const { return control<QComboBox>("ComboBox1"); }
    QTableWidget* cells() const { return control<QTableWidget>("StringGrid1"); }
    QTableWidget* reciprocal() const { return control<QTableWidget>("StringGrid2"); }
    QLabel* image() const { return control<QLabel>("Image1"); }
    QLabel* notice() const { return control<QLabel>("Label13"); }

    QString cell(int row) const { return cells()->item(row, 0)->text(); }
    void setCell(int row, const QString& text) { cells()->item(row, 0)->setText(text); }
    QString reciprocalCell(int row) const { return reciprocal()->item(row, 0)->text(); }

    void selectGroup(const QString& prefixAndNumber)
    {
        const int index = groups()->findText(prefixAndNumber, Qt::MatchStartsWith);
        ASSERT_GE(index, 0) << prefixAndNumber.toStdString();
        groups()->setCurrentIndex(index);
    }

    // Item i of the radio group, by the group's object name.
    QRadioButton* radioItem(const char* group, int i) const
    {
        return control<QRadioButton>((std::string(group) + "Item" + std::to_string(i)).c_str());
    }

    void generate() { QTest::mouseClick(control<QPushButton>("Button1"), Qt::LeftButton); }

    QImage clipboardImage() const { return QGuiApplication::clipboard()->image(); }

    CapturedMessages messages;
    std::unique_ptr<TForm1> form;
};
