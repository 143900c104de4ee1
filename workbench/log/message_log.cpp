#include "workbench/log/message_log.h"

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

// Where a line of the log leads.
struct LineTarget : QTextBlockUserData {
    explicit LineTarget(MessageTarget target) : target(target) {}
    MessageTarget target;
};

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
                                   const QString& saveFileName, MessageTarget origin)
{
    const auto lines = ErrorMessageLines(subCode, number, radix, openFileName.toStdString(),
                                         saveFileName.toStdString());
    MessageTarget errorTarget = origin;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        appendPlainText(QString::fromStdString(lines[i]));
        MessageTarget target = TargetOfMessage(lines[i]);
        if (i == 0 && target.kind != MessageTarget::None) {
            errorTarget = target;
        }
        if (target.kind == MessageTarget::None) {
            target = errorTarget;
        }
        document()->lastBlock().setUserData(new LineTarget(target));
    }
    if (!lines.empty()) {
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    }
}

void TMessageLog::ShowLine(const QString& line, MessageTarget target)
{
    appendPlainText(line);
    document()->lastBlock().setUserData(new LineTarget(target));
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

int TMessageLog::FirstNamedLine() const
{
    for (QTextBlock block = document()->firstBlock(); block.isValid(); block = block.next()) {
        const MessageTarget target = TargetOf(block);
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
    const QTextBlock block = textCursor().block();
    const MessageTarget target = TargetOf(block);
    if (target.kind == MessageTarget::Line) {
        emit lineChosen(target.number, block.text());
    } else if (target.kind == MessageTarget::Address) {
        emit addressChosen(target.number, block.text());
    }
}

// A line written otherwise than as an error's leads where its text says.
MessageTarget TMessageLog::TargetOf(const QTextBlock& block)
{
    if (const auto* target = dynamic_cast<const LineTarget*>(block.userData())) {
        return target->target;
    }
    return TargetOfMessage(block.text().toStdString());
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

QSize TMessageLog::minimumSizeHint() const
{
    return {QPlainTextEdit::minimumSizeHint().width(),
            LeastLines * fontMetrics().lineSpacing() + Margins()};
}

// The height around the lines: the frame and the document's margins.
int TMessageLog::Margins() const
{
    return 2 * (frameWidth() + qRound(document()->documentMargin()));
}
