#include "event_log.h"
#include "tests/text_file.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <csignal>
#include <cstdio>
#include <filesystem>

using namespace MachineEvent;
namespace fs = std::filesystem;

class MemoryFile : public testing::Test {
protected:
    void SetUp() override
    {
        // Each test runs in a process of its own, so the process number keeps folders apart.
        folder_ = fs::temp_directory_path() / ("mira-machine-" + std::to_string(getpid()));
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string File(const char* name) const { return (folder_ / name).string(); }
    size_t FilesInFolder() const
    {
        return std::distance(fs::directory_iterator(folder_), fs::directory_iterator());
    }

    ClearedCpu machine_;
    fs::path folder_;
};

TEST_F(MemoryFile, SavesCellsWithValueInAscendingOrder)
{
    for (auto [address, value] : {std::pair{255, 255}, {2, 3}, {1, 2}, {0, 1}}) {
        machine_.cpu.SetMemory(address, value);
    }
    eventLog.clear();
    EXPECT_TRUE(machine_.cpu.SaveMemoryFile(File("cells.mm")));
    EXPECT_EQ(ReadText(File("cells.mm")), "0 1\n1 2\n2 3\n255 255\n");
    EXPECT_TRUE(eventLog.empty());
}

TEST_F(MemoryFile, EmptyMemoryGivesEmptyFileThatLoadsAsNothing)
{
    EXPECT_TRUE(machine_.cpu.SaveMemoryFile(File("empty.mm")));
    EXPECT_EQ(ReadText(File("empty.mm")), "");
    EXPECT_TRUE(machine_.cpu.LoadMemoryFile(File("empty.mm")));
    EXPECT_TRUE(eventLog.empty());
}

TEST_F(MemoryFile, ReplacesExistingFileAndLeavesNoTemporaryFile)
{
    WriteText(File("old.mm"), "an old and much longer content\n");
    fs::create_symlink(File("old.mm"), File("link.mm"));
    machine_.cpu.SetMemory(4, 9);
    EXPECT_TRUE(machine_.cpu.SaveMemoryFile(File("link.mm")));
    EXPECT_TRUE(fs::is_symlink(File("link.mm")));
    EXPECT_EQ(ReadText(File("old.mm")), "4 9\n");
    EXPECT_EQ(FilesInFolder(), 2u);
}

TEST_F(MemoryFile, UnopenableFilesAreReported)
{
    EXPECT_FALSE(machine_.cpu.SaveMemoryFile(File("missing/cells.mm")));
    EXPECT_FALSE(machine_.cpu.LoadMemoryFile(File("missing.mm")));
    EXPECT_FALSE(machine_.cpu.LoadMemoryFile(folder_.string()));
    EXPECT_EQ(eventLog, (Events{ErrorEvent(1, 0), ErrorEvent(0, 0), ErrorEvent(0, 0)}));
    EXPECT_EQ(FilesInFolder(), 0u);
}

// A file size limit makes the disk "full" part-way through the temporary file.
TEST_F(MemoryFile, FailedWriteKeepsTheOldFile)
{
    WriteText(File("old.mm"), "1 1\n");
    machine_.cpu.ClearMemory(7);
    eventLog.clear();
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 20;
    setrlimit(RLIMIT_FSIZE, &small);
    const bool savedAll = machine_.cpu.SaveMemoryFile(File("old.mm"));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(savedAll);
    // "0 7\n" to "4 7\n" fit in 20 bytes; every later line fails.
    Events expected;
    for (int address = 5; address < CCpu::MemorySize; ++address) {
        expected.push_back(ErrorEvent(2, address));
    }
    EXPECT_EQ(eventLog, expected);
    EXPECT_EQ(ReadText(File("old.mm")), "1 1\n");
    EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(MemoryFile, DeviceIsWrittenInPlaceAndReportsEachFailedLine)
{
    if (std::FILE* probe = std::fopen("/dev/full", "w")) {
        std::fclose(probe);
    } else {
        GTEST_SKIP() << "/dev/full is not writable";
    }
    LoadBytes(machine_.cpu, 10, {1, 2});
    eventLog.clear();
    EXPECT_FALSE(machine_.cpu.SaveMemoryFile("/dev/full"));
    EXPECT_EQ(eventLog, (Events{ErrorEvent(2, 10), ErrorEvent(2, 11)}));
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
}

// Opening a pipe would wait for its other end; both commands refuse it at once.
TEST_F(MemoryFile, PipesAreRefusedWithoutWaiting)
{
    ASSERT_EQ(mkfifo(File("pipe.mm").c_str(), 0600), 0);
    EXPECT_FALSE(machine_.cpu.SaveMemoryFile(File("pipe.mm")));
    EXPECT_FALSE(machine_.cpu.LoadMemoryFile(File("pipe.mm")));
    EXPECT_EQ(eventLog, (Events{ErrorEvent(1, 0), ErrorEvent(0, 0)}));
    EXPECT_TRUE(fs::is_fifo(File("pipe.mm")));
}

// A device that never ends is not read at all: it cannot be opened as an image.
TEST_F(MemoryFile, AnEndlessDeviceIsRefusedAtOnce)
{
    if (!fs::exists("/dev/zero")) {
        GTEST_SKIP() << "no /dev/zero";
    }
    EXPECT_FALSE(machine_.cpu.LoadMemoryFile("/dev/zero"));
    EXPECT_EQ(eventLog, (Events{ErrorEvent(0, 0)}));
}

struct LoadCase {
    const char* name;
    const char* text;
    bool result;
    Events events;
};

void PrintTo(const LoadCase& c, std::ostream* out)
{
    *out << c.name;
}

class MemoryFileLoad : public MemoryFile, public testing::WithParamInterface<LoadCase> {};

TEST_P(MemoryFileLoad, ReadsPairsUntilTheTextStopsMakingSense)
{
    WriteText(File("in.mm"), GetParam().text);
    EXPECT_EQ(machine_.cpu.LoadMemoryFile(File("in.mm")), GetParam().result);
    EXPECT_EQ(eventLog, GetParam().events);
}

INSTANTIATE_TEST_SUITE_P(
    MemoryFile, MemoryFileLoad,
    testing::Values(
        LoadCase{"PairsOnOneLine", "0 1 1 2", true, {{MemorySet, 1, 0}, {MemorySet, 2, 1}}},
        LoadCase{"AnyWhiteSpaceAndSigns",
                 "\t+5\r\n\n 7 \n 6 -0",
                 true,
                 {{MemorySet, 7, 5}, {MemorySet, 0, 6}}},
        LoadCase{"ByteOrderMarkIsIgnored",
                 "\xEF\xBB\xBF"
                 "4 9\n",
                 true,
                 {{MemorySet, 9, 4}}},
        LoadCase{"LaterPairWins", "4 9\n4 10\n", true, {{MemorySet, 9, 4}, {MemorySet, 10, 4}}},
        LoadCase{
            "AddressOutOfRange", "300 5\n1 2\n", false, {ErrorEvent(3, 300), {MemorySet, 2, 1}}},
        LoadCase{"ValueWithoutValue", "5 -1\n", false, {ErrorEvent(3, 5)}},
        LoadCase{
            "HugeNumbers",
            "99999999999 1\n-99999999999 1\n5 99999999999\n6 7\n",
            false,
            {ErrorEvent(3, INT_MAX), ErrorEvent(3, INT_MIN), ErrorEvent(3, 5), {MemorySet, 7, 6}}},
        LoadCase{
            "HexadecimalStops", "1 2\n0A 5\n3 4\n", false, {{MemorySet, 2, 1}, ErrorEvent(3, 0)}},
        LoadCase{
            "WordAsValueStops", "1 2\n7 x\n3 4\n", false, {{MemorySet, 2, 1}, ErrorEvent(3, 7)}},
        LoadCase{"NumberGluedToTextStops", "1 2x 3 4", false, {ErrorEvent(3, 1)}},
        LoadCase{"LoneSignStops", "- 1", false, {ErrorEvent(3, 0)}},
        LoadCase{
            "LastNumberWithoutPartner", "1 2\n7\n", false, {{MemorySet, 2, 1}, ErrorEvent(3, 7)}}),
    [](const testing::TestParamInfo<LoadCase>& info) { return info.param.name; });
