#include "window_test.h"

#include <QAbstractButton>
#include <QColorDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTimer>

namespace {

constexpr int AnswerTimeoutMilliseconds = 10000;

// Answers still waiting for their dialog; a test must not leave any behind.
QList<QTimer*> waitingAnswers;

// Polls until a visible modal dialog that `matches` accepts is on top, then
// answers it. A dialog that never comes is a test failure, not a hang.
void AwaitDialog(std::function<bool(QWidget*)> matches, std::function<void(QWidget*)> answer)
{
    auto* poll = new QTimer;
    waitingAnswers.append(poll);
    QElapsedTimer clock;
    clock.start();
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout,
                     [poll, clock, matches = std::move(matches), answer = std::move(answer)] {
                         QWidget* dialog = QApplication::activeModalWidget();
                         const bool found = dialog && dialog->isVisible() && matches(dialog);
                         if (!found && clock.elapsed() < AnswerTimeoutMilliseconds) {
                             return;
                         }
                         poll->stop();
                         poll->deleteLater();
                         waitingAnswers.removeOne(poll);
                         if (found) {
                             answer(dialog);
                         } else {
                             ADD_FAILURE() << "the expected dialog did not show";
                         }
                     });
    poll->start();
}

} // namespace

void WindowTest::SetUp()
{
    form = std::make_unique<TMainForm>();
    form->show();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
}

void WindowTest::TearDown()
{
    for (QTimer* poll : std::exchange(waitingAnswers, {})) {
        ADD_FAILURE() << "a dialog the test answers never showed";
        delete poll;
    }
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

QString WindowTest::Log() const
{
    return Find<QPlainTextEdit>(QStringLiteral("mmMessage"))->toPlainText();
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
    AwaitDialog([](QWidget*) { return true; }, std::move(answer));
}

void AnswerMessageBox(int standardButton)
{
    AwaitDialog([](QWidget* dialog) { return qobject_cast<QMessageBox*>(dialog) != nullptr; },
                [standardButton](QWidget* dialog) {
                    auto* box = static_cast<QMessageBox*>(dialog);
                    QAbstractButton* button =
                        box->button(static_cast<QMessageBox::StandardButton>(standardButton));
                    ASSERT_NE(button, nullptr) << "the message box has no such button";
                    button->click();
                });
}

void AnswerFileDialog(const QString& fileName, bool confirmOverwrite)
{
    AwaitDialog([](QWidget* dialog) { return qobject_cast<QFileDialog*>(dialog) != nullptr; },
                [fileName, confirmOverwrite](QWidget* dialog) {
                    auto* files = static_cast<QFileDialog*>(dialog);
                    if (fileName.isEmpty()) {
                        files->reject();
                        return;
                    }
                    if (confirmOverwrite) {
                        AnswerMessageBox(QMessageBox::Yes);
                    }
                    AcceptFileName(files, fileName);
                });
}

void AnswerColourDialog(const QColor& colour)
{
    AwaitDialog([](QWidget* dialog) { return qobject_cast<QColorDialog*>(dialog) != nullptr; },
                [colour](QWidget* dialog) {
                    auto* colours = static_cast<QColorDialog*>(dialog);
                    if (!colour.isValid()) {
                        colours->reject();
                        return;
                    }
                    colours->setCurrentColor(colour);
                    colours->accept();
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
