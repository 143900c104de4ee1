#include "runner/memory_image.h"

#include "files/whole_file.h"

#include <algorithm>

std::optional<MemoryImage> ReadMemoryImage(const std::string& fileName,
                                           const std::function<void(const std::string&)>& problem)
{
    const FileContent content = ReadWholeFile(fileName, LargestTextFile);
    if (!content.bytes) {
        problem("mira-run: cannot read " + fileName + ": " + content.reason);
        return std::nullopt;
    }
    const EventRoute route([&](int code, int value, int index) {
        if (code == MachineEvent::Error) {
            for (const std::string& line : ErrorLines(value, index, fileName)) {
                problem(line);
            }
        }
    });
    CCpu reader(EventRoute::Forward);
    reader.ClearMemory(-1);
    if (!reader.LoadMemoryText(*content.bytes)) {
        return std::nullopt;
    }
    MemoryImage image;
    for (int address = 0; address < CCpu::MemorySize; ++address) {
        image[address] = reader.GetMemory(address);
    }
    return image;
}

bool ListsNoCell(const MemoryImage& image)
{
    return std::all_of(image.begin(), image.end(), [](int value) { return value == -1; });
}

void WriteImageCells(std::ostream& out, const MemoryImage& memory, CellRange range)
{
    for (int address = range.first; address <= range.last; ++address) {
        if (memory[address] != -1) {
            out << address << ' ' << memory[address] << '\n';
        }
    }
}
