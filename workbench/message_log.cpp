// The message log under the program grid: one line per error of the machine
// or the assembler.
#include "main_form.h"
#include "texts/error_messages.h"

#include <QPlainTextEdit>
#include <QScrollBar>

namespace {

constexpr int MessageLogLines = 10000;

} // namespace

void TMainForm::CreateMessageLog()
{
    mmMessage = new QPlainTextEdit(this);
    mmMessage->setObjectName(QStringLiteral("mmMessage"));
    mmMessage->setReadOnly(true);
    mmMessage->setFocusPolicy(Qt::ClickFocus);
    mmMessage->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    mmMessage->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mmMessage->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // A program that reports an error at every instruction and is left running
    // would otherwise fill memory without end; the oldest lines give way (this
    // also drops the log's undo history, which it never needs).
    mmMessage->setMaximumBlockCount(MessageLogLines);
}

void TMainForm::ShowErrorMessage(int subCode, int number)
{
    const auto lines =
        ErrorMessageLines(subCode, number, display_.radix, openDialogFileName_.toStdString(),
                          saveDialogFileName_.toStdString());
    for (const std::string& line : lines) {
        mmMessage->appendPlainText(QString::fromStdString(line));
    }
    if (!lines.empty()) {
        mmMessage->verticalScrollBar()->setValue(mmMessage->verticalScrollBar()->maximum());
    }
}

void TMainForm::actEditClearMessageExecute()
{
    CommitEdits();
    mmMessage->clear();
}
