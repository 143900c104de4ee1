#pragma once

#include "machine/micro_step_record.h"

#include <string>

// What a micro-step did, told in one or two Traditional Chinese sentences
// (UTF-8, Big5 characters only) with the values that moved: bytes and the
// addresses of fetch and execute in the radix, the instruction word, its
// fields and the addresses of a decode always in hexadecimal. Empty for the
// micro-step of a halted machine, which does nothing.
std::string NarrationOf(const MicroStepRecord& record, int radix);
