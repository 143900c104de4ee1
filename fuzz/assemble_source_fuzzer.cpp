// Reads arbitrary bytes as a source file, assembles its rows the way the
// window does, and checks that writing the rows and reading them back gives
// the same document.
#include "assembler/assembler.h"
#include "assembler/source_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void IgnoreEvent(int, int, int) {}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const SourceDocument document =
        ParseSourceText(std::string_view(reinterpret_cast<const char*>(data), size));

    CAssembler assembler(IgnoreEvent);
    assembler.Reset();
    for (std::size_t i = 0; i < document.rows.size(); ++i) {
        const SourceRow& row = document.rows[i];
        if (!row.IsEmpty()) {
            assembler.AddLine(static_cast<int>(i) + 1, row.label.c_str(), row.mnemonic.c_str(),
                              row.operand.c_str());
        }
    }
    assembler.Assemble(document.hasStart ? document.start : 0);

    // Rows read from a file hold no blank or line end and fit their fields,
    // so they survive a round trip unchanged.
    const SourceDocument reread = ParseSourceText(FormatSourceText(document.start, document.rows));
    std::size_t next = 0;
    for (const SourceRow& row : document.rows) {
        if (!row.IsEmpty() && (next >= reread.rows.size() || !(reread.rows[next++] == row))) {
            std::abort();
        }
    }
    if (next != reread.rows.size() || reread.start != document.start) {
        std::abort();
    }
    return 0;
}
