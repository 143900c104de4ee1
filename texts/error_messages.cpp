#include "texts/error_messages.h"

#include "assembler/assembler.h"
#include "machine/cpu.h"
#include "texts/number_text.h"

namespace {

// Machine errors about an existing cell or register show the number as the
// display does; everything else shows it in plain decimal.
std::string NumberText(int subCode, int number, int radix)
{
    if (subCode < AssemblerError::NoMemory && number >= 0 && number <= 255) {
        return FormatNumber(number, radix);
    }
    return std::to_string(number);
}

std::string InstructionFailed(const char* mnemonic, const std::string& n)
{
    return std::string("指令") + mnemonic + "無法執行(Pc:" + n + ")";
}

std::string LineError(const char* text, const std::string& n)
{
    return std::string(text) + "(Line:" + n + ")";
}

} // namespace

std::vector<std::string> ErrorMessageLines(int subCode, int number, int radix,
                                           const std::string& openFileName,
                                           const std::string& saveFileName)
{
    const std::string n = NumberText(subCode, number, radix);
    switch (subCode) {
    case MachineError::MemoryFileOpen:
        return {"無法開啟檔案：" + openFileName};
    case MachineError::MemoryFileCreate:
        return {"無法建立檔案：" + saveFileName};
    case MachineError::MemoryFileWrite:
        return {"無法儲存記憶體 No:" + n + "到檔案"};
    case MachineError::MemoryFilePair:
        return {"從檔案" + openFileName + "載入記憶體 No:" + n + "錯誤"};
    case MachineError::MemoryWriteAddress:
        return {"無法設定記憶體 No:" + n};
    case MachineError::MemoryReadAddress:
        return {"無法讀取記憶體 No:" + n};
    case MachineError::MemoryWriteValue:
        return {"數值錯誤，無法設定記憶體 No:" + n};
    case MachineError::LoadaCellEmpty:
        return {"記憶體 No:" + n + "未設定數值"};
    case MachineError::RegisterWriteValue:
        return {"數值錯誤，無法設定暫存器 No:" + n};
    case MachineError::RegisterEmpty:
        return {"暫存器 No:" + n + "未設定數值"};
    case MachineError::RegisterWriteNumber:
        return {"無法設定暫存器 No:" + n};
    case MachineError::RegisterReadNumber:
        return {"無法讀取暫存器 No:" + n};
    case MachineError::StartAddressRange:
        return {"設定啟始位址錯誤"};
    case MachineError::PcRange:
        return {"設定Pointer Counter錯誤"};
    case MachineError::FetchCellEmpty:
        return {"Fetch錯誤，記憶體沒有數值(Pc:" + n + ")"};
    case MachineError::UndefinedOpcode:
        return {"Decode錯誤，指令未定義(Pc:" + n + ")"};
    case MachineError::LoadaFailed:
        return {InstructionFailed("LOADA", n)};
    case MachineError::LoadFailed:
        return {InstructionFailed("LOAD", n)};
    case MachineError::StoreFailed:
        return {InstructionFailed("STORE", n)};
    case MachineError::MoveFailed:
        return {InstructionFailed("MOVE", n)};
    case MachineError::AddFailed:
        return {InstructionFailed("ADD", n)};
    case MachineError::AddfFailed:
        return {InstructionFailed("ADDF", n)};
    case MachineError::OrFailed:
        return {InstructionFailed("OR", n)};
    case MachineError::AndFailed:
        return {InstructionFailed("AND", n)};
    case MachineError::XorFailed:
        return {InstructionFailed("XOR", n)};
    case MachineError::RotateEmpty:
        return {InstructionFailed("ROTATE", n)};
    case AssemblerError::NoMemory:
        return {"無法配置記憶體"};
    case AssemblerError::Register:
        return {LineError("暫存器欄位設定錯誤", n)};
    case AssemblerError::ByteField:
        return {LineError("位址欄位設定錯誤", n), "　　Label不存在或數值設定錯誤"};
    case AssemblerError::ProgramTooLarge:
        return {LineError("指令數過多，記憶體不足", n)};
    case AssemblerError::RotateCount:
        return {LineError("數值欄位設定錯誤", n)};
    case AssemblerError::Label:
        return {LineError("Symbol重複或無法設定", n)};
    case AssemblerError::Mnemonic:
        return {LineError("Opcode設定錯誤", n)};
    default:
        return {};
    }
}
