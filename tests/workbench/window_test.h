#pragma once

#include "workbench/window/main_form.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include <ostream>

class QFileDialog;

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

// A fresh main window for each test, shown offscreen and active.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    template <typename Widget = QWidget> Widget* Find(const QString& name) const
    {
        auto* widget = form->findChild<Widget*>(name);
        EXPECT_NE(widget, nullptr) << "no " << name.toStdString();
        return widget;
    }
    QAction* Action(const QString& name) const { return Find<QAction>(name); }
    QLineEdit* Field(const QString& name) const { return Find<QLineEdit>(name); }
    QString Text(const QString& name) const { return Field(name)->text(); }
    int Tag(const QString& name) const;
    QColor TextColour(const QString& name) const;

    // The lines of the message log.
    QString Log() const;
    // Clicks into a line edit, types the keys and presses Enter.
    void TypeInto(const QString& name, const QString& keys, bool enter = true);

    std::unique_ptr<TMainForm> form;
};

// Runs `answer` on the next modal dialog once it shows; the dialog is what
// QApplication::activeModalWidget() returns. The answers below each wait for
// their own kind of dialog, so several may be scheduled at once.
void WhenDialogShows(std::function<void(QWidget*)> answer);

// Clicks the standard button of the message box that shows next.
void AnswerMessageBox(int standardButton);

// Chooses `fileName` in the next file dialog, or cancels it when empty.
// With `confirmOverwrite`, answers Yes when the dialog asks to replace a file.
void AnswerFileDialog(const QString& fileName, bool confirmOverwrite = false);

// Chooses `colour` in the next colour dialog, or cancels it when invalid.
void AnswerColourDialog(const QColor& colour);

// Enters `fileName` into the file dialog and accepts it.
void AcceptFileName(QFileDialog* dialog, const QString& fileName);
