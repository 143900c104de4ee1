#pragma once

#include "texts/message_target.h"

#include <QPlainTextEdit>

// The message log under the program grid: one line per error of the machine
// or the assembler, the newest at the bottom. A double-click or Enter on a
// line passes on the source line or address it leads to: the one it names,
// else the one the first line of its error names, else the instruction whose
// micro-step reported it.
class TMessageLog : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit TMessageLog(QWidget* parent);

    // Appends the line or lines of an error; `openFileName` and `saveFileName`
    // are the names the file dialogs hold, which the file errors quote;
    // `origin` is the instruction under way, if any.
    void ShowErrorMessage(int subCode, int number, int radix, const QString& openFileName,
                          const QString& saveFileName, MessageTarget origin = {});
    // Appends a line that leads to `target`.
    void ShowLine(const QString& line, MessageTarget target);
    // The first source line that a line of the log names; 0 when none does.
    int FirstNamedLine() const;

    // The lines the log is made high enough for when the window is short of
    // room, 0 for its natural height; ShownLines() tells how many it holds.
    void SetShownLines(int lines);
    int ShownLines() const;
    QSize sizeHint() const override;
    // However short of room the window is, the log shows these lines.
    static constexpr int LeastLines = 2;
    QSize minimumSizeHint() const override;

signals:
    // A line was chosen; `text` is the line's.
    void lineChosen(int line, const QString& text);
    void addressChosen(int address, const QString& text);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ChooseCursorLine();
    static MessageTarget TargetOf(const QTextBlock& block);
    int Margins() const;

    int shownLines_ = 0;
};
