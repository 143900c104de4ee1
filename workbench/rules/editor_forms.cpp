#include "workbench/rules/editor_forms.h"

#include "assembler/instruction_table.h"

#include <algorithm>
#include <initializer_list>

namespace {

bool IsHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F');
}

bool AllFilled(std::initializer_list<const QString*> texts)
{
    return std::all_of(texts.begin(), texts.end(), [](const QString* t) { return !t->isEmpty(); });
}

} // namespace

bool IsAcceptedLabel(const QString& label)
{
    const bool numberLike = (label.size() == 1 || label.size() == 2) &&
                            std::all_of(label.begin(), label.end(), IsHexDigit);
    return !numberLike;
}

OperandForm OperandFormOf(int mnemonic)
{
    switch (mnemonic) {
    case Mnemonic::Loada:
    case Mnemonic::Store:
    case Mnemonic::Jump:
        return OperandForm::RegisterAtAddress;
    case Mnemonic::Load:
        return OperandForm::RegisterAddress;
    case Mnemonic::Move:
        return OperandForm::TwoRegisters;
    case Mnemonic::Add:
    case Mnemonic::Addf:
    case Mnemonic::Or:
    case Mnemonic::And:
    case Mnemonic::Xor:
        return OperandForm::ThreeRegisters;
    case Mnemonic::Rotate:
        return OperandForm::RegisterCount;
    case Mnemonic::Db:
        return OperandForm::Byte;
    default:
        return OperandForm::None;
    }
}

QString ComposeOperand(OperandForm form, const OperandFields& f)
{
    switch (form) {
    case OperandForm::RegisterAtAddress:
        return AllFilled({&f.r1, &f.address}) ? f.r1 + QStringLiteral(",@") + f.address : QString();
    case OperandForm::RegisterAddress:
        return AllFilled({&f.r1, &f.address}) ? f.r1 + u',' + f.address : QString();
    case OperandForm::TwoRegisters:
        return AllFilled({&f.r1, &f.r2}) ? f.r1 + u',' + f.r2 : QString();
    case OperandForm::ThreeRegisters:
        return AllFilled({&f.r1, &f.r2, &f.r3}) ? f.r1 + u',' + f.r2 + u',' + f.r3 : QString();
    case OperandForm::RegisterCount:
        return AllFilled({&f.r1, &f.count}) ? f.r1 + u',' + f.count : QString();
    case OperandForm::Byte:
        return f.byte;
    case OperandForm::None:
        break;
    }
    return {};
}

std::array<QString, SplitFieldCount> SplitOperand(const QString& text)
{
    std::array<QString, SplitFieldCount> fields;
    int field = 0;
    for (QChar c : text) {
        if (c == u',') {
            if (++field == SplitFieldCount) {
                break;
            }
        } else if (c != u'@' && fields[field].size() < SplitFieldLength) {
            fields[field] += c;
        }
    }
    return fields;
}
