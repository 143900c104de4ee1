#pragma once

#include "grading/program_run.h"
#include "runner/json_stream.h"

#include <ostream>

int ExitStatusOf(const RunReport& report);

// Status, steps, the registers (hexadecimal, "--" for no value), PC, then the
// cells with a value as memory image lines, then any differences.
void WritePlainReport(std::ostream& out, const RunReport& report);

// The report as a JSON object; numbers in decimal, null for no value.
Json ReportJson(const RunReport& report);
