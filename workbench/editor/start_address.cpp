#include "workbench/editor/start_address.h"

#include "machine/cpu.h"

TStartAddress::TStartAddress(CCpu& machine, QObject* parent)
    : QObject(parent), machine_(machine), address_(machine.StartAddress())
{
}

void TStartAddress::Take(int address)
{
    address_ = address;
    emit taken(address);
}

void TStartAddress::Clear()
{
    address_ = 0;
    emit cleared();
}

void TStartAddress::Edit(int address)
{
    const int previous = address_;
    machine_.SetStartAddress(address);
    address_ = machine_.StartAddress();
    emit edited(previous, address);
}

void TStartAddress::Restore(int address)
{
    if (address < 0) {
        Take(address);
    } else {
        machine_.SetStartAddress(address);
        address_ = machine_.StartAddress();
    }
    emit restored(address);
}
