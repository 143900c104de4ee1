#include "message_log.h"

#include "texts/error_messages.h"

#include <QScrollBar>

namespace {

// A program that reports an error at every instruction and is left running
// would otherwise fill memory without end; the oldest lines give way (this
// also drops the log's undo history, which it never needs).
constexpr int MessageLogLines = 10000;

} // namespace

TMessageLog::TMessageLog(QWidget* parent) : QPlainTextEdit(parent)
{
    setObjectName(QStringLiteral("mmMessage"));
    setReadOnly(true);
    setFocusPolicy(Qt::ClickFocus);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setMaximumBlockCount(MessageLogLines);
}

void TMessageLog::ShowErrorMessage(int subCode, int number, int radix, const QString& openFileName,
                                   const QString& saveFileName)
{
    const auto lines = ErrorMessageLines(subCode, number, radix, openFileName.toStdString(),
                                         saveFileName.toStdString());
    for (const std::string& line : lines) {
        appendPlainText(QString::fromStdString(line));
    }
    if (!lines.empty()) {
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    }
}
