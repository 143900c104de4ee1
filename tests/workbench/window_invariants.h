#pragma once

#include <QStringList>

class TMainForm;
struct WindowParts;

// What holds in the window whatever was done to it before. Each returns the
// faults it finds, described.

// The grid has at least one row, column 0 numbers the rows 1..N, and the last
// row holds no mnemonic and no operand. (The last row is where a line is
// entered: choosing its mnemonic appends a row, and only a mnemonic lets its
// operand be entered, so it can hold at most a label committed alone there.
// Empty rows may stand anywhere else, several at the end too: deleting a line
// or emptying a label leaves them.)
QStringList GridFaults(const TMainForm& form, const WindowParts& parts);

// At most one floating editor (label field, mnemonic box, operand panel) shows.
QStringList EditorFaults(const WindowParts& parts);

// While the machine is not running, PC, the register fields, the shown memory
// page and the cells around PC hold what the machine holds, as tags and as
// text in the current radix. The field being typed in (the window's focus
// field) may hold other text; so may a field where the same value was typed
// in another form ("5" for 05), or whose typed value the machine refused (a
// decimal value above 255).
QStringList ViewFaults(TMainForm& form, const WindowParts& parts);
