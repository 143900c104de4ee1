#pragma once

#include "window_test.h"

#include "tests/text_file.h"

#include <QTemporaryDir>

#include <functional>
#include <ostream>
#include <vector>

// One program row: label, mnemonic, operand.
struct Row {
    QString label;
    QString mnemonic;
    QString operand;
    bool operator==(const Row&) const = default;
};

inline void PrintTo(const Row& row, std::ostream* out)
{
    *out << '{' << row.label.toStdString() << '|' << row.mnemonic.toStdString() << '|'
         << row.operand.toStdString() << '}';
}

using DialogAnswer = std::function<void(QWidget*)>;

// Answers the modal dialogs that show next, one after the other.
void AnswerInTurn(std::vector<DialogAnswer> answers);
DialogAnswer Click(int standardButton);
// Chooses the file in a file dialog (cancels it when the name is empty),
// optionally with a filter; an overwrite question that follows is a dialog of
// its own.
DialogAnswer Choose(const QString& fileName, const QString& filter = QString());
// Keeps the message box's title and text, then clicks OK.
DialogAnswer KeepMessage(QString& title, QString& text);

// A window whose program grid is filled directly and whose files live in a
// temporary folder.
class DocumentTest : public WindowTest {
protected:
    // Fills the grid as committed edits would: the rows, then one empty row.
    void SetRows(const std::vector<Row>& rows);
    // Every row of the grid, the last (empty) one included.
    std::vector<Row> Rows() const;
    QStringList LineNumbers() const;
    // Enters the START value as typed in the current radix.
    void SetStart(const QString& text);

    QString Path(const QString& name) const { return folder.filePath(name); }
    QByteArray Contents(const QString& name) const;
    void Write(const QString& name, const QByteArray& bytes) const;
    bool Exists(const QString& name) const;
    void Trigger(const char* action);

    QTemporaryDir folder;
};
