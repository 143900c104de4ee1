#include "files/file_saver.h"
#include "files/whole_file.h"
#include "tests/text_file.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

namespace fs = std::filesystem;

namespace {

class FilePolicy : public testing::Test {
protected:
    void SetUp() override
    {
        // Each test runs in a process of its own, so the process number keeps folders apart.
        folder_ = fs::temp_directory_path() / ("mira-files-" + std::to_string(getpid()));
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string File(const char* name) const { return (folder_ / name).string(); }

    fs::path folder_;
};

struct ReadCase {
    const char* name;
    std::function<std::string(const fs::path& folder)> make; // gives the file to read
    const char* reason;                                      // empty when the read succeeds
};

void PrintTo(const ReadCase& test, std::ostream* out)
{
    *out << test.name;
}

class WholeFileRead : public FilePolicy, public testing::WithParamInterface<ReadCase> {};

constexpr std::size_t Largest = 100;

} // namespace

TEST_P(WholeFileRead, ReadsOnlyWholeRegularFilesWithoutWaiting)
{
    const FileContent content = ReadWholeFile(GetParam().make(folder_), Largest);
    EXPECT_EQ(content.reason, GetParam().reason);
    EXPECT_EQ(content.bytes.has_value(), content.reason.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, WholeFileRead,
    testing::Values(ReadCase{"RegularFileUpToTheLimit",
                             [](const fs::path& folder) {
                                 WriteText(folder / "full", std::string(Largest, 'x'));
                                 return (folder / "full").string();
                             },
                             ""},
                    ReadCase{"LargerFile",
                             [](const fs::path& folder) {
                                 WriteText(folder / "large", std::string(Largest + 1, 'x'));
                                 return (folder / "large").string();
                             },
                             "File too large"},
                    ReadCase{"MissingFile",
                             [](const fs::path& folder) { return (folder / "missing").string(); },
                             "No such file or directory"},
                    ReadCase{"Folder", [](const fs::path& folder) { return folder.string(); },
                             "Is a directory"},
                    ReadCase{"Pipe",
                             [](const fs::path& folder) {
                                 mkfifo((folder / "pipe").c_str(), 0600);
                                 return (folder / "pipe").string();
                             },
                             "Not a regular file"},
                    ReadCase{"EndlessDevice",
                             [](const fs::path&) { return std::string("/dev/zero"); },
                             "Not a regular file"}),
    [](const testing::TestParamInfo<ReadCase>& info) { return info.param.name; });

TEST_F(FilePolicy, ReplacedFileKeepsItsPermissions)
{
    WriteText(File("kept"), "old");
    fs::permissions(File("kept"), fs::perms(0640));
    FileSaver saver(File("kept"));
    ASSERT_TRUE(saver.Write("new"));
    ASSERT_TRUE(saver.Finish()) << saver.Reason();
    EXPECT_EQ(ReadText(File("kept")), "new");
    EXPECT_EQ(fs::status(File("kept")).permissions(), fs::perms(0640));
}

TEST_F(FilePolicy, UnfinishedSaveLeavesTheTargetAndNoTemporaryFile)
{
    WriteText(File("kept"), "old");
    {
        FileSaver saver(File("kept"));
        ASSERT_TRUE(saver.Write("half"));
    }
    EXPECT_EQ(ReadText(File("kept")), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}
