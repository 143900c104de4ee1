#include "error_messages.h"

#include "number_text.h"

namespace {

// Machine errors about an existing cell or register show the number as the
// display does; everything else shows it in plain decimal.
std::string NumberText(int subCode, int number, int radix)
{
    if (subCode < 100 && number >= 0 && number <= 255) {
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
    case 0:
        return {"無法開啟檔案：" + openFileName};
    case 1:
        return {"無法建立檔案：" + saveFileName};
    case 2:
        return {"無法儲存記憶體 No:" + n + "到檔案"};
    case 3:
        return {"從檔案" + openFileName + "載入記憶體 No:" + n + "錯誤"};
    case 4:
        return {"無法設定記憶體 No:" + n};
    case 5:
        return {"無法讀取記憶體 No:" + n};
    case 6:
        return {"數值錯誤，無法設定記憶體 No:" + n};
    case 7:
        return {"記憶體 No:" + n + "未設定數值"};
    case 8:
        return {"數值錯誤，無法設定暫存器 No:" + n};
    case 9:
        return {"暫存器 No:" + n + "未設定數值"};
    case 10:
        return {"無法設定暫存器 No:" + n};
    case 11:
        return {"無法讀取暫存器 No:" + n};
    case 12:
        return {"設定啟始位址錯誤"};
    case 13:
        return {"設定Pointer Counter錯誤"};
    case 14:
        return {"Fetch錯誤，記憶體沒有數值(Pc:" + n + ")"};
    case 15:
        return {"Decode錯誤，指令未定義(Pc:" + n + ")"};
    case 16:
        return {InstructionFailed("LOADA", n)};
    case 17:
        return {InstructionFailed("LOAD", n)};
    case 18:
        return {InstructionFailed("STORE", n)};
    case 19:
        return {InstructionFailed("MOVE", n)};
    case 20:
        return {InstructionFailed("ADD", n)};
    case 21:
        return {InstructionFailed("ADDF", n)};
    case 22:
        return {InstructionFailed("OR", n)};
    case 23:
        return {InstructionFailed("AND", n)};
    case 24:
        return {InstructionFailed("XOR", n)};
    case 25:
        return {InstructionFailed("ROTATE", n)};
    case 100:
        return {"無法配置記憶體"};
    case 101:
        return {LineError("暫存器欄位設定錯誤", n)};
    case 102:
        return {LineError("位址欄位設定錯誤", n), "　　Label不存在或數值設定錯誤"};
    case 103:
        return {LineError("指令數過多，記憶體不足", n)};
    case 104:
        return {LineError("數值欄位設定錯誤", n)};
    case 105:
        return {LineError("Symbol重複或無法設定", n)};
    case 106:
        return {LineError("Opcode設定錯誤", n)};
    default:
        return {};
    }
}
