#include "texts/micro_step_narration.h"

#include "assembler/hex_digits.h"
#include "assembler/instruction_table.h"
#include "machine/float_byte.h"
#include "texts/float_text.h"
#include "texts/number_text.h"

#include <algorithm>
#include <vector>

namespace {

std::string RegisterName(int number)
{
    return std::string("R") + HexDigit(number);
}

std::string Hex(int value)
{
    return FormatNumber(value, HexRadix);
}

// Tells one recorded micro-step; bytes and addresses in the radix.
class Narrator {
public:
    Narrator(const MicroStepRecord& record, int radix)
        : record_(record), radix_(radix), opcode_(record.DecodedField(0)),
          r_(record.DecodedField(1)), x_(record.DecodedField(2)), y_(record.DecodedField(3)),
          xy_(record.before.irl)
    {
    }

    std::string Fetch() const;
    std::string Decode() const;
    std::string Execute() const;

private:
    // An operand without value takes part as -1, the number the machine uses.
    std::string Byte(int value) const
    {
        return value >= 0 && value <= 255 ? FormatNumber(value, radix_)
                                          : "(" + std::to_string(value) + ")";
    }
    std::string Address(int address) const { return FormatNumber(address, radix_); }
    int Register(int number) const { return record_.registers[static_cast<std::size_t>(number)]; }
    int Written(int code) const
    {
        const MicroStepAccess* access = record_.Find(code);
        return access == nullptr ? -1 : access->value;
    }
    bool Failed() const;
    std::string Halting() const { return record_.halted ? "，機器停止" : ""; }
    std::string OperandNotes() const;

    std::string Loada() const;
    std::string Store() const;
    std::string Move() const;
    std::string Combine(const char* symbol) const;
    std::string AddFloat() const;
    std::string FloatSteps(int a, int b, const FloatSum& sum) const;
    std::string Rotate() const;
    std::string Jump() const;

    const MicroStepRecord& record_;
    int radix_;
    int opcode_;
    int r_;
    int x_;
    int y_;
    int xy_;
};

// An instruction fails by its own sub-code, 16 (LOADA) to 24 (XOR).
bool Narrator::Failed() const
{
    const auto errors = record_.Errors();
    return std::any_of(errors.begin(), errors.end(), [](const MicroStepError& error) {
        return error.subCode >= MachineError::LoadaFailed &&
               error.subCode <= MachineError::XorFailed;
    });
}

// "R1、R2 沒有數值，當作 -1 計算；" for the registers read without value.
std::string Narrator::OperandNotes() const
{
    std::vector<int> empty;
    for (const MicroStepError& error : record_.Errors()) {
        if (error.subCode == MachineError::RegisterEmpty &&
            std::find(empty.begin(), empty.end(), error.index) == empty.end()) {
            empty.push_back(error.index);
        }
    }
    std::string notes;
    for (const int number : empty) {
        notes += (notes.empty() ? "" : "、") + RegisterName(number);
    }
    return notes.empty() ? notes : notes + " 沒有數值，當作 -1 計算；";
}

std::string Narrator::Fetch() const
{
    for (const MicroStepError& error : record_.Errors()) {
        if (error.subCode == MachineError::FetchCellEmpty) {
            return "擷取：記憶體 " + Address(error.index) + " 沒有數值，無法擷取指令" + Halting();
        }
    }
    const int pc = record_.before.pc;
    return "擷取：從記憶體 " + Address(pc) + "、" + Address((pc + 1) % CCpu::MemorySize) +
           " 讀出 " + Byte(Written(MachineEvent::IrhSet)) + " " +
           Byte(Written(MachineEvent::IrlSet)) + " 放入指令暫存器，PC 由 " + Address(pc) +
           " 變成 " + Address(Written(MachineEvent::PcSet));
}

std::string Narrator::Decode() const
{
    const std::string word = Hex(record_.before.irh) + Hex(record_.before.irl);
    if (record_.HasError(MachineError::UndefinedOpcode)) {
        return "解碼：" + word + " 的運算碼 " + HexDigit(record_.before.irh / 16) + " 沒有定義" +
               Halting();
    }
    // A record of a decode that did not take place names no instruction.
    if (opcode_ < Mnemonic::Loada || opcode_ > Mnemonic::Halt) {
        return "解碼：" + word;
    }
    const std::string r = RegisterName(r_);
    const std::string x = RegisterName(x_);
    const std::string y = RegisterName(y_);
    const std::string xy = Hex(xy_);
    const std::string assigned = r + " ← " + x;
    std::string meaning;
    switch (opcode_) {
    case Mnemonic::Loada:
        meaning = "把記憶體 " + xy + " 的內容載入 " + r;
        break;
    case Mnemonic::Load:
        meaning = "把數值 " + xy + " 載入 " + r;
        break;
    case Mnemonic::Store:
        meaning = "把 " + r + " 存入記憶體 " + xy;
        break;
    case Mnemonic::Move:
        meaning = "把 " + x + " 複製到 " + y;
        break;
    case Mnemonic::Add:
        meaning = assigned + " + " + y + "，整數相加";
        break;
    case Mnemonic::Addf:
        meaning = assigned + " + " + y + "，浮點數相加";
        break;
    case Mnemonic::Or:
        meaning = assigned + " OR " + y + "，逐位元做 OR";
        break;
    case Mnemonic::And:
        meaning = assigned + " AND " + y + "，逐位元做 AND";
        break;
    case Mnemonic::Xor:
        meaning = assigned + " XOR " + y + "，逐位元做 XOR";
        break;
    case Mnemonic::Rotate:
        meaning = "把 " + r + " 向右旋轉 " + HexDigit(y_) + " 位元";
        break;
    case Mnemonic::Jump:
        meaning = r_ == 0 ? "R0 一定等於自己，跳到 " + xy : "若 " + r + " 等於 R0 則跳到 " + xy;
        break;
    default:
        meaning = "停止機器";
        break;
    }
    return "解碼：" + word + " 是 " + std::string(Mnemonics[opcode_ - 1]) + "：" + meaning;
}

std::string Narrator::Execute() const
{
    switch (opcode_) {
    case Mnemonic::Loada:
        return Loada();
    case Mnemonic::Load:
        return "執行：" + RegisterName(r_) + " ← " + Byte(xy_);
    case Mnemonic::Store:
        return Store();
    case Mnemonic::Move:
        return Move();
    case Mnemonic::Add:
        return Combine("+");
    case Mnemonic::Addf:
        return AddFloat();
    case Mnemonic::Or:
        return Combine("OR");
    case Mnemonic::And:
        return Combine("AND");
    case Mnemonic::Xor:
        return Combine("XOR");
    case Mnemonic::Rotate:
        return Rotate();
    case Mnemonic::Jump:
        return Jump();
    default:
        return "執行：HALT" + Halting();
    }
}

std::string Narrator::Loada() const
{
    const std::string cell = "記憶體 " + Address(xy_);
    if (Failed()) {
        return "執行：" + cell + " 沒有數值，無法載入 " + RegisterName(r_) + Halting();
    }
    return "執行：" + RegisterName(r_) + " ← " + cell + " = " +
           Byte(Written(MachineEvent::RegisterSet));
}

std::string Narrator::Store() const
{
    const std::string cell = "記憶體 " + Address(xy_);
    if (Failed()) {
        return "執行：" + RegisterName(r_) + " 沒有數值，無法存入" + cell + Halting();
    }
    return "執行：" + cell + " ← " + RegisterName(r_) + " = " +
           Byte(Written(MachineEvent::MemorySet));
}

std::string Narrator::Move() const
{
    if (Failed()) {
        return "執行：" + RegisterName(x_) + " 沒有數值，無法複製到 " + RegisterName(y_) +
               Halting();
    }
    return "執行：" + RegisterName(y_) + " ← " + RegisterName(x_) + " = " +
           Byte(Written(MachineEvent::RegisterSet));
}

// ADD, OR, AND and XOR.
std::string Narrator::Combine(const char* symbol) const
{
    const std::string op = std::string(" ") + symbol + " ";
    const std::string operation = RegisterName(x_) + op + RegisterName(y_);
    if (Failed()) {
        return "執行：" + OperandNotes() + operation + " 的結果不在 " + Byte(0) + " 到 " +
               Byte(255) + " 之間，無法寫入 " + RegisterName(r_) + Halting();
    }
    const int a = Register(x_);
    const int b = Register(y_);
    const int result = Written(MachineEvent::RegisterSet);
    std::string text = "執行：" + OperandNotes() + RegisterName(r_) + " ← " + operation + " = " +
                       Byte(a) + op + Byte(b) + " = " + Byte(result);
    if (a == -1 || b == -1) {
        return text;
    }
    if (opcode_ == Mnemonic::Add) {
        return a + b > 255 ? text + "（超過 8 位元，進位捨去）" : text;
    }
    return text + "（二進位 " + BinaryText(a, 8) + op + BinaryText(b, 8) + " = " +
           BinaryText(result, 8) + "）";
}

std::string Narrator::AddFloat() const
{
    const int a = Register(x_);
    const int b = Register(y_);
    const FloatSum sum = AddFloatBytes(a, b);
    std::string text = "執行：" + OperandNotes() + RegisterName(r_) + " ← " + RegisterName(x_) +
                       " + " + RegisterName(y_) + " = " + Byte(a) + " + " + Byte(b);
    if (sum.fits) {
        text += " = " + Byte(Written(MachineEvent::RegisterSet));
    }
    text += "（浮點數）";
    if (a == -1 || b == -1) {
        return sum.fits ? text : text + "，正規化後指數超出 0 到 7，無法表示" + Halting();
    }
    return text + "。" + FloatSteps(a, b, sum);
}

// The second sentence of ADDF: both operands, the alignment, the sum and its
// normalisation, with every bit that is cut off.
std::string Narrator::FloatSteps(int a, int b, const FloatSum& sum) const
{
    const int small = sum.firstIsBig ? b : a;
    std::string text =
        Byte(a) + " 為" + FloatPartsText(a) + "，" + Byte(b) + " 為" + FloatPartsText(b);
    const auto cut = [](int bits, int places) { return (bits & ((1 << places) - 1)) != 0; };
    if (sum.shift > 0) {
        text += "；" + Byte(small) + " 的尾數右移 " + std::to_string(sum.shift) + " 位對齊指數：" +
                BinaryText(sum.small.mantissa, 4) + " → " + BinaryText(sum.alignedMantissa, 4);
        if (cut(sum.small.mantissa, std::min(sum.shift, 4))) {
            text += "，移出的位元捨去（截斷）";
        }
    }
    const std::string big = BinaryText(sum.big.mantissa, 4);
    const std::string aligned = BinaryText(sum.alignedMantissa, 4);
    if (sum.big.sign == sum.small.sign) {
        text += "；尾數相加：" + big + " + " + aligned + " = " + BinaryText(sum.mantissa, 4);
    } else if (sum.big.mantissa >= sum.alignedMantissa) {
        text +=
            "；符號不同，尾數相減：" + big + " - " + aligned + " = " + BinaryText(sum.mantissa, 4);
    } else {
        text += "；符號不同，尾數相減：" + big + " - " + aligned + " = -" +
                BinaryText(sum.mantissa, 4) + "，取絕對值，符號取自 " + Byte(small);
    }
    if (sum.mantissa == 0) {
        return text + "；結果為 0";
    }
    const int change = sum.normalisedExponent - sum.big.exponent;
    const std::string places = std::to_string(change < 0 ? -change : change);
    if (change > 0) {
        text += "；正規化：尾數右移 " + places + " 位，指數加 " + places;
        if (cut(sum.mantissa, change)) {
            text += "，移出的位元捨去（截斷）";
        }
    } else if (change < 0) {
        text += "；正規化：尾數左移 " + places + " 位，指數減 " + places;
    }
    if (!sum.fits) {
        return text + "；指數 " + std::to_string(sum.normalisedExponent) +
               " 超出 0 到 7，無法表示" + Halting();
    }
    return text + "；結果 " + Byte(sum.result) + " 為" + FloatPartsText(sum.result);
}

std::string Narrator::Rotate() const
{
    const std::string name = RegisterName(r_);
    if (record_.HasError(MachineError::RotateEmpty)) {
        return "執行：" + name + " 沒有數值，無法旋轉，機器繼續執行下一個指令";
    }
    const int before = Register(r_);
    const int after = Written(MachineEvent::RegisterSet);
    return "執行：" + name + " 向右旋轉 " + std::to_string(y_) + " 位元：" + Byte(before) + " → " +
           Byte(after) + "（二進位 " + BinaryText(before, 8) + " → " + BinaryText(after, 8) + "）";
}

std::string Narrator::Jump() const
{
    const int pc = record_.before.pc;
    const MicroStepAccess* jump = record_.Find(MachineEvent::PcSet);
    const std::string target =
        jump == nullptr ? "" : "跳躍，PC 由 " + Address(pc) + " 變成 " + Address(jump->value);
    if (r_ == 0) {
        return "執行：" + OperandNotes() + "R0 一定等於自己，" + target;
    }
    const std::string comparison = RegisterName(r_) + " = " + Byte(Register(r_)) +
                                   (jump == nullptr ? " 不等於 " : " 等於 ") +
                                   "R0 = " + Byte(Register(0));
    if (jump == nullptr) {
        return "執行：" + OperandNotes() + comparison + "，不跳，PC 仍為 " + Address(pc);
    }
    return "執行：" + OperandNotes() + comparison + "，" + target;
}

} // namespace

std::string NarrationOf(const MicroStepRecord& record, int radix)
{
    const Narrator narrator(record, radix);
    switch (record.phase) {
    case MachinePhase::Fetch:
        return narrator.Fetch();
    case MachinePhase::Decode:
        return narrator.Decode();
    case MachinePhase::Execute:
        return narrator.Execute();
    default:
        return {};
    }
}
