#pragma once

#include "runner/options.h"

#include <optional>
#include <string>
#include <vector>

// One entry of the programs to grade.
struct ClassEntry {
    std::size_t index = 0; // its place among all entries, in the order of their paths
    std::string path;      // as named or found
    std::string realPath;  // the file it is, whatever way it was reached
    std::string problem;   // a folder that cannot be read: why; it is not run
    bool missing = false;  // on the roster, but not found
};

// The programs named and every "*.asm" entry in the folders named and their
// subfolders, sorted by path; a program reached in more than one way (as
// "./a.asm", "a.asm" or through a link) is there once, by the first of its
// paths. A folder that cannot be read is an entry with its problem. Each
// name of the roster that no program has as its file name is a missing entry.
std::vector<ClassEntry> CollectClass(const std::vector<std::string>& names,
                                     const std::vector<std::string>& roster);

// The entries of the K-th of N shares: every N-th entry in the order of
// their real paths, so that each machine of a class's grading takes the
// same share whatever the order of the arguments.
std::vector<ClassEntry> ShareOf(const std::vector<ClassEntry>& entries, const Shard& shard);

// The names of a roster file, one a line; nothing, with the reason, when it cannot be read.
std::optional<std::vector<std::string>> ReadRoster(const std::string& fileName,
                                                   std::string& problem);
