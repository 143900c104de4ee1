// Types arbitrary keys into the editor's fields as their key filters let
// them through, with the caret and selection anywhere and Backspace in
// between, then checks what the fields can hold:
// - a label is at most 6 characters of "0"-"9", "A"-"Z" and "_", and one that
//   its commit accepts is accepted by the assembler as a label and found again;
// - an operand composed from filled fields splits back into those fields and
//   assembles for its mnemonic; only an address that is neither a number nor
//   a defined label (with "+1") is reported, and only as an address error;
// - a number field never holds a readable value outside 0..255.
#include "assembler/assembler.h"
#include "assembler/instruction_table.h"
#include "texts/number_text.h"
#include "workbench/rules/editor_forms.h"
#include "workbench/rules/key_filters.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::vector<int> errors;

void RecordError(int code, int value, int)
{
    if (code == MachineEvent::Error) {
        errors.push_back(value);
    }
}

void Require(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

// A one-line edit field as the key filters meet it.
class Field {
public:
    EditState State() const
    {
        return {text_, std::min(caret_, anchor_), std::abs(caret_ - anchor_)};
    }
    void Insert(QChar c)
    {
        const EditState state = State();
        text_.replace(state.selectionStart, state.selectionLength, c);
        caret_ = anchor_ = state.selectionStart + 1;
    }
    void Backspace()
    {
        const EditState state = State();
        if (state.selectionLength > 0) {
            text_.remove(state.selectionStart, state.selectionLength);
            caret_ = anchor_ = state.selectionStart;
        } else if (caret_ > 0) {
            text_.remove(--caret_, 1);
            anchor_ = caret_;
        }
    }
    void Select(int anchor, int caret)
    {
        anchor_ = anchor % (text_.size() + 1);
        caret_ = caret % (text_.size() + 1);
    }
    const QString& Text() const { return text_; }

private:
    QString text_;
    int caret_ = 0;
    int anchor_ = 0;
};

using KeyFilter = KeyVerdict (*)(QChar, const EditState&);

// Keys typed into a field through its filter; only printable characters reach
// a filter, Backspace always passes.
QString Typed(FuzzedDataProvider& input, KeyFilter filter)
{
    Field field;
    for (int key = input.ConsumeIntegralInRange(0, 12); key > 0; --key) {
        switch (input.ConsumeIntegralInRange(0, 9)) {
        case 7:
            field.Backspace();
            break;
        case 8:
            field.Select(input.ConsumeIntegralInRange(0, 9), input.ConsumeIntegralInRange(0, 9));
            break;
        default: {
            const QChar c(input.ConsumeBool() ? input.ConsumeIntegralInRange<char16_t>(32, 126)
                                              : input.ConsumeIntegral<char16_t>());
            if (!c.isPrint()) {
                break;
            }
            const KeyVerdict verdict = filter(c, field.State());
            if (verdict.action != KeyVerdict::Swallow) {
                field.Insert(verdict.action == KeyVerdict::Pass ? c : verdict.character);
            }
            break;
        }
        }
    }
    return field.Text();
}

KeyVerdict TypedByte(QChar c, const EditState& field)
{
    return ByteKey(c, field, 2);
}

KeyVerdict TypedHexNumber(QChar c, const EditState& field)
{
    return NumberFieldKey(c, field, HexRadix);
}

KeyVerdict TypedDecimalNumber(QChar c, const EditState& field)
{
    return NumberFieldKey(c, field, DecimalRadix);
}

bool IsLabelText(const QString& text)
{
    return !text.isEmpty() && text.size() <= 6 &&
           std::all_of(text.begin(), text.end(), [](QChar c) {
               return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || c == u'_';
           });
}

struct Line {
    std::string label;
    std::string mnemonic;
    std::string operand;
};

bool Assemble(CAssembler& assembler, const std::vector<Line>& lines, int start)
{
    assembler.Reset();
    errors.clear();
    int number = 1;
    for (const Line& line : lines) {
        Require(assembler.AddLine(number++, line.label.c_str(), line.mnemonic.c_str(),
                                  line.operand.c_str()));
    }
    return assembler.Assemble(start);
}

int ValueOfLine(const CAssembler& assembler, int index)
{
    int entry = 0;
    int count = 0;
    const SourceLine* lines = assembler.GetResult(entry, count);
    Require(index < count);
    return lines[index].value;
}

void CheckLabel(CAssembler& assembler, const QString& label)
{
    Require(label.isEmpty() || IsLabelText(label));
    if (label.isEmpty() || !IsAcceptedLabel(label)) {
        return;
    }
    const std::string name = label.toStdString();
    Require(Assemble(assembler,
                     {{name, "HALT", ""}, {"", "JUMP", "R0,@" + name}, {"", "LOAD", "R1," + name}},
                     0x10));
    Require(ValueOfLine(assembler, 1) == 0xB010 && ValueOfLine(assembler, 2) == 0x2110);
}

void CheckOperand(CAssembler& assembler, int mnemonic, const OperandFields& fields)
{
    const OperandForm form = OperandFormOf(mnemonic);
    const QString operand = ComposeOperand(form, fields);
    const auto filled = [](std::initializer_list<QString> texts) {
        return std::none_of(texts.begin(), texts.end(),
                            [](const QString& t) { return t.isEmpty(); });
    };
    bool complete = false;
    std::array<QString, SplitFieldCount> parts;
    switch (form) {
    case OperandForm::RegisterAtAddress:
    case OperandForm::RegisterAddress:
        complete = filled({fields.r1, fields.address});
        parts = {fields.r1, fields.address, {}};
        break;
    case OperandForm::TwoRegisters:
        complete = filled({fields.r1, fields.r2});
        parts = {fields.r1, fields.r2, {}};
        break;
    case OperandForm::ThreeRegisters:
        complete = filled({fields.r1, fields.r2, fields.r3});
        parts = {fields.r1, fields.r2, fields.r3};
        break;
    case OperandForm::RegisterCount:
        complete = filled({fields.r1, fields.count});
        parts = {fields.r1, fields.count, {}};
        break;
    case OperandForm::Byte:
        complete = filled({fields.byte});
        parts = {fields.byte, {}, {}};
        break;
    case OperandForm::None:
        break;
    }
    Require(operand.isEmpty() == !complete);
    if (!complete) {
        return;
    }
    // Opened again, the panel shows what was entered.
    Require(SplitOperand(operand) == parts);

    // The address may name a label (defined here when it can be one), with "+1".
    const bool addressed =
        form == OperandForm::RegisterAtAddress || form == OperandForm::RegisterAddress;
    QString base = fields.address;
    if (base.endsWith(QStringLiteral("+1"))) {
        base.chop(2);
    }
    const bool label = addressed && IsLabelText(base) && IsAcceptedLabel(base);
    const bool number =
        fields.address.size() <= 2 && ParseNumber(fields.address.toStdString(), HexRadix) >= 0;
    std::vector<Line> lines;
    if (label) {
        lines.push_back({base.toStdString(), "DB", "00"});
    }
    lines.push_back({"", std::string(Mnemonics[mnemonic - 1]), operand.toStdString()});
    const bool assembled = Assemble(assembler, lines, 0);
    Require(assembled == (!addressed || label || number));
    Require(std::all_of(errors.begin(), errors.end(),
                        [](int error) { return error == AssemblerError::ByteField; }));
}

QString Register(FuzzedDataProvider& input)
{
    const int n = input.ConsumeIntegralInRange(-1, 15);
    return n < 0 ? QString() : QStringLiteral("R%1").arg(n, 1, 16).toUpper();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static CAssembler assembler(RecordError);
    FuzzedDataProvider input(data, size);

    CheckLabel(assembler, Typed(input, LabelKey));

    OperandFields fields;
    fields.r1 = Register(input);
    fields.r2 = Register(input);
    fields.r3 = Register(input);
    fields.address = Typed(input, AddressKey);
    fields.count = Typed(input, RotateKey);
    fields.byte = Typed(input, TypedByte);
    CheckOperand(assembler, input.ConsumeIntegralInRange(1, 13), fields);

    const bool hex = input.ConsumeBool();
    const QString number = Typed(input, hex ? TypedHexNumber : TypedDecimalNumber);
    const int value = ParseNumber(number.toStdString(), hex ? HexRadix : DecimalRadix);
    Require(value >= -1 && value <= 255);
    return 0;
}
