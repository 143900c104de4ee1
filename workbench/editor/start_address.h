#pragma once

#include <QObject>

class CCpu;

// The program's start address, START: what Assemble places the program at
// and Save writes. The user's choices, typed or undone and redone, go to the
// machine as well; New and Open only show theirs, and Load's comes from the
// machine. -1 stands for a START that a file gave and no machine can take.
class TStartAddress : public QObject {
    Q_OBJECT

public:
    TStartAddress(CCpu& machine, QObject* parent);

    int Address() const { return address_; }
    // Open.
    void Take(int address);
    // New: 0, which shows as "00" whatever the radix.
    void Clear();
    // The user typed it.
    void Edit(int address);
    // An undo or redo put it back.
    void Restore(int address);
    // The machine reported its start address.
    void MachineSet(int address) { address_ = address; }

signals:
    // To show plainly: the machine did not write it.
    void taken(int address);
    void cleared();
    void edited(int previous, int address);
    void restored(int address);

private:
    CCpu& machine_;
    int address_ = 0;
};
