#include "message_log.h"

#include "texts/error_messages.h"

#include <QScrollBar>
#include <QTextDocument>

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

void TMessageLog::SetShownLines(int lines)
{
    shownLines_ = lines;
    updateGeometry();
}

int TMessageLog::ShownLines() const
{
    return shownLines_ > 0
               ? shownLines_
               : (QPlainTextEdit::sizeHint().height() - Margins()) / fontMetrics().lineSpacing();
}

QSize TMessageLog::sizeHint() const
{
    const QSize natural = QPlainTextEdit::sizeHint();
    if (shownLines_ <= 0) {
        return natural;
    }
    return {natural.width(), shownLines_ * fontMetrics().lineSpacing() + Margins()};
}

// The height around the lines: the frame and the document's margins.
int TMessageLog::Margins() const
{
    return 2 * (frameWidth() + qRound(document()->documentMargin()));
}
