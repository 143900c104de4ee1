#pragma once

#include <QPlainTextEdit>

// The message log under the program grid: one line per error of the machine
// or the assembler, the newest at the bottom. A double-click or Enter on a
// line that names a source line or an address passes it on.
class TMessageLog : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit TMessageLog(QWidget* parent);

    // Appends the line or lines of an error; `openFileName` and `saveFileName`
    // are the names the file dialogs hold, which the file errors quote.
    void ShowErrorMessage(int subCode, int number, int radix, const QString& openFileName,
                          const QString& saveFileName);
    // The first source line that a line of the log names; 0 when none does.
    int FirstNamedLine() const;

    // The lines the log is made high enough for when the window is short of
    // room, 0 for its natural height; ShownLines() tells how many it holds.
    void SetShownLines(int lines);
    int ShownLines() const;
    QSize sizeHint() const override;

signals:
    void lineChosen(int line);
    void addressChosen(int address);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ChooseCursorLine();
    int Margins() const;

    int shownLines_ = 0;
};
