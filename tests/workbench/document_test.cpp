#include "document_test.h"

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTableWidget>

void AnswerInTurn(std::vector<DialogAnswer> answers)
{
    if (answers.empty()) {
        return;
    }
    DialogAnswer first = answers.front();
    answers.erase(answers.begin());
    WhenDialogShows([first, rest = std::move(answers)](QWidget* dialog) {
        AnswerInTurn(rest);
        first(dialog);
    });
}

DialogAnswer Click(int standardButton)
{
    return [standardButton](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        ASSERT_NE(box, nullptr) << "expected a message box";
        box->button(static_cast<QMessageBox::StandardButton>(standardButton))->click();
    };
}

DialogAnswer Choose(const QString& fileName, const QString& filter)
{
    return [fileName, filter](QWidget* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        ASSERT_NE(files, nullptr) << "expected a file dialog";
        if (fileName.isEmpty()) {
            files->reject();
            return;
        }
        if (!filter.isEmpty()) {
            files->selectNameFilter(filter);
        }
        AcceptFileName(files, fileName);
    };
}

DialogAnswer KeepMessage(QString& title, QString& text)
{
    return [&title, &text](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        ASSERT_NE(box, nullptr) << "expected a message box";
        EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
        title = box->windowTitle();
        text = box->text();
        box->button(QMessageBox::Ok)->click();
    };
}

void DocumentTest::SetRows(const std::vector<Row>& rows)
{
    Find<QTableWidget>("sgrdCode")->clearContents();
    Find<QTableWidget>("sgrdCode")->setRowCount(static_cast<int>(rows.size()) + 1);
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        form->SetCellText(row, 1, rows[row].label);
        form->SetCellText(row, 2, rows[row].mnemonic);
        form->SetCellText(row, 3, rows[row].operand);
    }
    form->RenumberRows(0);
    form->SetState(StateModified);
}

std::vector<Row> DocumentTest::Rows() const
{
    std::vector<Row> rows;
    for (int row = 0; row < Find<QTableWidget>("sgrdCode")->rowCount(); ++row) {
        rows.push_back({form->CellText(row, 1), form->CellText(row, 2), form->CellText(row, 3)});
    }
    return rows;
}

QStringList DocumentTest::LineNumbers() const
{
    QStringList numbers;
    for (int row = 0; row < Find<QTableWidget>("sgrdCode")->rowCount(); ++row) {
        numbers << form->CellText(row, 0);
    }
    return numbers;
}

void DocumentTest::SetStart(const QString& text)
{
    QLineEdit* start = Field("txtStart");
    start->setFocus(Qt::MouseFocusReason);
    start->setText(text);
    QTest::keyClick(start, Qt::Key_Return);
}

QByteArray DocumentTest::Contents(const QString& name) const
{
    return QByteArray::fromStdString(ReadText(Path(name).toStdString()));
}

void DocumentTest::Write(const QString& name, const QByteArray& bytes) const
{
    WriteText(Path(name).toStdString(), bytes.toStdString());
}

bool DocumentTest::Exists(const QString& name) const
{
    return QFileInfo::exists(Path(name));
}

void DocumentTest::Trigger(const char* action)
{
    QAction* command = Action(QLatin1String(action));
    ASSERT_TRUE(command->isEnabled()) << action << " is unavailable";
    command->trigger();
}
