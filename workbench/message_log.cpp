#include "message_log.h"

#include "texts/error_messages.h"
#include "texts/message_target.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QTextBlock>
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
    // The caret moves from line to line, so that Enter can choose one.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
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

int TMessageLog::FirstNamedLine() const
{
    for (QTextBlock block = document()->firstBlock(); block.isValid(); block = block.next()) {
        const MessageTarget target = TargetOfMessage(block.text().toStdString());
        if (target.kind == MessageTarget::Line) {
            return target.number;
        }
    }
    return 0;
}

void TMessageLog::mouseDoubleClickEvent(QMouseEvent* event)
{
    QPlainTextEdit::mouseDoubleClickEvent(event);
    ChooseCursorLine();
}

void TMessageLog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        ChooseCursorLine();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TMessageLog::ChooseCursorLine()
{
    const MessageTarget target = TargetOfMessage(textCursor().block().text().toStdString());
    if (target.kind == MessageTarget::Line) {
        emit lineChosen(target.number);
    } else if (target.kind == MessageTarget::Address) {
        emit addressChosen(target.number);
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
