#include "grading/memory_image.h"

#include "files/whole_file.h"
#include "grading/session.h"

#include <algorithm>

MemoryImageFile ReadMemoryImage(const std::string& fileName)
{
    MemoryImageFile file;
    const FileContent content = ReadWholeFile(fileName, LargestTextFile);
    if (!content.bytes) {
        file.unreadable = content.reason;
        return file;
    }
    RunListener listener;
    listener.error = [&file](const std::string& line) { file.errorLines.push_back(line); };
    Session reader(listener, fileName);
    if (reader.LoadMemoryText(*content.bytes)) {
        file.image = reader.State().memory;
    }
    return file;
}

bool ListsNoCell(const MemoryImage& image)
{
    return std::all_of(image.begin(), image.end(), [](int value) { return value == -1; });
}
