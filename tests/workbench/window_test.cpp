#include "window_test.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>

void WindowTest::SetUp()
{
    form = std::make_unique<TMainForm>();
    form->show();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
}

void WindowTest::TearDown()
{
    form.reset();
}

int WindowTest::Tag(const QString& name) const
{
    return Find(name)->property("tag").toInt();
}

QColor WindowTest::TextColour(const QString& name) const
{
    return Find(name)->palette().color(QPalette::Text);
}

void WindowTest::TypeInto(const QString& name, const QString& keys, bool enter)
{
    QLineEdit* field = Field(name);
    field->setFocus(Qt::MouseFocusReason);
    QTest::keyClicks(field, keys);
    if (enter) {
        QTest::keyClick(field, Qt::Key_Return);
    }
}

void WhenDialogShows(std::function<void(QWidget*)> answer)
{
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, answer = std::move(answer)] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog || !dialog->isVisible()) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        answer(dialog);
    });
    poll->start();
}

void AnswerMessageBox(int standardButton)
{
    WhenDialogShows([standardButton](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        ASSERT_NE(box, nullptr) << "expected a message box";
        box->button(static_cast<QMessageBox::StandardButton>(standardButton))->click();
    });
}

void AnswerFileDialog(const QString& fileName)
{
    WhenDialogShows([fileName](QWidget* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        ASSERT_NE(files, nullptr) << "expected a file dialog";
        if (fileName.isEmpty()) {
            files->reject();
            return;
        }
        AcceptFileName(files, fileName);
    });
}

void AcceptFileName(QFileDialog* dialog, const QString& fileName)
{
    // selectFile() leaves the name field alone while it has the focus, as it
    // has in a save dialog: type the name as the user would.
    dialog->selectFile(fileName);
    if (auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
        field->setText(fileName);
    }
    QMetaObject::invokeMethod(dialog, "accept"); // what the dialog's Open or Save button does
}
