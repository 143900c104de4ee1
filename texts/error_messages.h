#pragma once

#include <string>
#include <vector>

// The message-log lines for one error of the machine (sub-codes 0..25) or of
// the assembler (100..106), in UTF-8. `openFileName` and `saveFileName` are the
// names the open and save dialogs hold, used by the memory image errors.
// An unknown sub-code gives no line.
std::vector<std::string> ErrorMessageLines(int subCode, int number, int radix,
                                           const std::string& openFileName,
                                           const std::string& saveFileName);
