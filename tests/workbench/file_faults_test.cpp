// Files that vanish, cannot be read, are folders, pipes or endless devices;
// targets that cannot be written or run out of space. Each case says what went
// wrong, keeps the document, its flags and the title as they were, and leaves
// every existing file whole.
#include "document_test.h"

#include "machine/cpu.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QTableWidget>

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <functional>
#include <iostream>
#include <random>

namespace {

const std::vector<Row> program = {{"LOOP", "LOAD", "R1,@20"}, {"", "HALT", ""}, {"N", "DB", "05"}};

const QString openFailure =
    "Can't perform one of the following file operations: Open, Seek, Read, Close.";

// The test process moves into a mount namespace of its own the first time a
// mount is needed, so every mount it makes vanishes with it. False where the
// process may not mount.
bool PrivateMounts()
{
    static const bool available = unshare(CLONE_NEWNS) == 0 &&
                                  mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    return available;
}

// A mount over a path of the test's folder, undone when the case ends.
class Mount {
public:
    // A tmpfs of the given options ("ro", "size=16k").
    static std::unique_ptr<Mount> Tmpfs(const QString& folder, const char* options)
    {
        if (!PrivateMounts() ||
            mount("tmpfs", Native(folder).constData(), "tmpfs", 0, options) != 0) {
            return nullptr;
        }
        return std::unique_ptr<Mount>(new Mount(folder));
    }
    // The source seen at the target as well.
    static std::unique_ptr<Mount> Bind(const QString& source, const QString& target)
    {
        if (!PrivateMounts() || mount(Native(source).constData(), Native(target).constData(),
                                      nullptr, MS_BIND, nullptr) != 0) {
            return nullptr;
        }
        return std::unique_ptr<Mount>(new Mount(target));
    }
    // The file itself, read-only.
    static std::unique_ptr<Mount> ReadOnlyFile(const QString& file)
    {
        if (!PrivateMounts() || mount(Native(file).constData(), Native(file).constData(), nullptr,
                                      MS_BIND, nullptr) != 0) {
            return nullptr;
        }
        auto bound = std::unique_ptr<Mount>(new Mount(file));
        if (mount(nullptr, Native(file).constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY,
                  nullptr) != 0) {
            return nullptr;
        }
        return bound;
    }
    ~Mount() { umount2(Native(path_).constData(), MNT_DETACH); }

private:
    explicit Mount(QString path) : path_(std::move(path)) {}
    static QByteArray Native(const QString& path) { return QFile::encodeName(path); }
    QString path_;
};

// Fills the file system of the folder until nothing more fits.
void FillUp(const QString& folder)
{
    QFile filler(folder + "/filler");
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
    const QByteArray block(512, 'x');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
    filler.resize(filler.size() - 1); // a partial block may still fit
    while (filler.write("x", 1) == 1 && filler.flush()) {
    }
}

void WriteFile(const QString& name, const std::string& bytes)
{
    WriteText(name.toStdString(), bytes);
}

long ResidentMiB()
{
    QFile status("/proc/self/status");
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("VmRSS:")) {
                return line.mid(6).trimmed().split(' ').value(0).toLong() / 1024;
            }
        }
    }
    return -1;
}

QStringList Listing(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System,
                                  QDir::Name);
}

// Runs `act` once the file dialog has accepted a name, before the command reads it.
class WhenChosen {
public:
    WhenChosen(QFileDialog* dialog, std::function<void()> act)
    {
        connection_ = QObject::connect(dialog, &QFileDialog::fileSelected,
                                       [act = std::move(act)](const QString&) { act(); });
    }
    ~WhenChosen() { QObject::disconnect(connection_); }

private:
    QMetaObject::Connection connection_;
};

// The document as the user sees it: every row, START, title and flags.
struct DocumentView {
    std::vector<Row> rows;
    QString start;
    QString title;
    int state = 0;
    bool unsavedProgram = false;
    bool unsavedMemory = false;
    bool operator==(const DocumentView&) const = default;
};

void PrintTo(const DocumentView& view, std::ostream* out)
{
    *out << view.rows.size() << " rows, START " << view.start.toStdString() << ", title "
         << view.title.toStdString() << ", state " << view.state << ", unsaved "
         << view.unsavedProgram << view.unsavedMemory;
}

} // namespace

class FileFaultsTest : public DocumentTest {
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        SetRows(program);
        SetStart("2A");
    }

    DocumentView View() const
    {
        return {Rows(),
                Text("txtStart"),
                form->windowTitle(),
                form->RecordedState(),
                Action("actFileSave")->isEnabled(),
                Action("actFileSaveMemory")->isEnabled()};
    }

    // The cells of memory, as the machine holds them.
    std::vector<int> Memory()
    {
        std::vector<int> cells;
        for (int address = 0; address < CCpu::MemorySize; ++address) {
            cells.push_back(form->Machine().GetMemory(address));
        }
        return cells;
    }

    // The text of the message box that the command shows; empty when none shows.
    QString BoxShownBy(const char* action, std::vector<DialogAnswer> answers)
    {
        QString title;
        QString text;
        answers.push_back(KeepMessage(title, text));
        AnswerInTurn(answers);
        Trigger(action);
        EXPECT_TRUE(title.isEmpty() || title == "File Error") << title.toStdString();
        return text;
    }
};

// A name that the open dialog accepts, and what becomes of it by the time the
// command reads it.
struct UnreadableFile {
    const char* name;
    std::function<QString(const QDir& folder)> prepare; // the name to choose; empty to skip
    std::function<void(const QString&)> whenChosen = [](const QString&) {};
};

const UnreadableFile unreadableFiles[] = {
    {"vanished after it was chosen",
     [](const QDir& folder) {
         WriteFile(folder.filePath("gone"), "       HALT\r\n");
         return folder.filePath("gone");
     },
     [](const QString& name) { QFile::remove(name); }},
    {"a folder by the time it is read",
     [](const QDir& folder) {
         WriteFile(folder.filePath("folder"), "       HALT\r\n");
         return folder.filePath("folder");
     },
     [](const QString& name) {
         QFile::remove(name);
         QDir().mkdir(name);
     }},
    {"a pipe that nobody writes to",
     [](const QDir& folder) {
         const QString name = folder.filePath("pipe");
         return mkfifo(QFile::encodeName(name), 0600) == 0 ? name : QString();
     }},
    {"an endless device",
     [](const QDir&) { return QFile::exists("/dev/zero") ? "/dev/zero" : QString(); }},
    {"a file far too large to be a program",
     [](const QDir& folder) {
         QFile file(folder.filePath("huge"));
         const bool sparse = file.open(QIODevice::WriteOnly) && file.resize(qint64(1) << 30);
         return sparse ? folder.filePath("huge") : QString();
     }},
    {"a file that exists but cannot be read",
     [](const QDir&) { return QFile::exists("/proc/self/mem") ? "/proc/self/mem" : QString(); }},
};

TEST_F(FileFaultsTest, OpeningAnUnreadableFileSaysSoAndKeepsTheDocument)
{
    for (const UnreadableFile& fault : unreadableFiles) {
        SCOPED_TRACE(fault.name);
        const QString name = fault.prepare(QDir(folder.path()));
        if (name.isEmpty()) {
            continue;
        }
        const DocumentView before = View();
        const WhenChosen chosen(Find<QFileDialog>("OpenDialog"), [&] { fault.whenChosen(name); });
        EXPECT_EQ(BoxShownBy("actFileOpen", {Click(QMessageBox::No), Choose(name)}), openFailure);
        EXPECT_EQ(View(), before);
    }
}

TEST_F(FileFaultsTest, LoadingMemoryFromAnUnreadableFileSaysSoAndKeepsTheMemory)
{
    form->Machine().SetMemory(7, 7);
    for (const UnreadableFile& fault : unreadableFiles) {
        SCOPED_TRACE(fault.name);
        const QString name = fault.prepare(QDir(folder.path()));
        if (name.isEmpty()) {
            continue;
        }
        const DocumentView before = View();
        const std::vector<int> memory = Memory();
        Trigger("actEditClearMessage");
        const WhenChosen chosen(Find<QFileDialog>("OpenDialog"), [&] { fault.whenChosen(name); });
        AnswerInTurn({Click(QMessageBox::No), Choose(name)});
        Trigger("actFileLoadMemory");
        EXPECT_TRUE(Log().contains(name)) << Log().toStdString();
        EXPECT_EQ(Memory(), memory);
        EXPECT_EQ(View(), before);
    }
}

// A file dialog describes the files of the folder it shows without reading
// them: /proc/kmsg, readable by root, waits for kernel messages that may never
// come (and reading it would take them from the system's log).
TEST_F(FileFaultsTest, AFileDialogShowsAFolderWithoutReadingItsFiles)
{
    if (!QFileInfo("/proc/kmsg").isReadable()) {
        GTEST_SKIP() << "/proc/kmsg is not readable here";
    }
    const DocumentView before = View();
    Find<QFileDialog>("OpenDialog")->setDirectory("/proc");
    QTest::qWait(500); // the folder's entries arrive and are described
    AnswerInTurn({Click(QMessageBox::No), [](QWidget* dialog) {
                      QTest::qWait(200);
                      Choose(QString())(dialog);
                  }});
    Trigger("actFileOpen");
    EXPECT_EQ(View(), before);
}

// A target that cannot take the file.
struct UnwritableTarget {
    const char* name;
    bool full; // writing starts and runs out of space
    // The name to choose, with an existing file of that name where the case has
    // one; empty to skip. The mount, if any, lasts for the case.
    std::function<QString(const QDir& folder, std::unique_ptr<Mount>&)> prepare;
};

const UnwritableTarget unwritableTargets[] = {
    {"a folder inside a file", false,
     [](const QDir& folder, std::unique_ptr<Mount>&) {
         WriteFile(folder.filePath("plain"), "a file, not a folder");
         return folder.filePath("plain/target");
     }},
    {"a folder where no file may be created", false,
     [](const QDir&, std::unique_ptr<Mount>&) {
         return QFileInfo("/proc/self").isDir() ? "/proc/target" : QString();
     }},
    {"a read-only folder", false,
     [](const QDir& folder, std::unique_ptr<Mount>& mount) {
         folder.mkdir("readonly");
         mount = Mount::Tmpfs(folder.filePath("readonly"), "ro");
         return mount ? folder.filePath("readonly/target") : QString();
     }},
    {"a full device", true,
     [](const QDir& folder, std::unique_ptr<Mount>& mount) {
         // Bound over a file of the folder where it can be: should a save ever
         // try to replace the device by a file, the mount refuses that.
         WriteFile(folder.filePath("full"), "");
         mount = Mount::Bind("/dev/full", folder.filePath("full"));
         if (mount) {
             return folder.filePath("full");
         }
         return geteuid() != 0 && QFileInfo("/dev/full").isWritable() ? "/dev/full" : QString();
     }},
    {"a full disk, over an existing file", true,
     [](const QDir& folder, std::unique_ptr<Mount>& mount) {
         folder.mkdir("small");
         mount = Mount::Tmpfs(folder.filePath("small"), "size=16k");
         if (!mount) {
             return QString();
         }
         WriteFile(folder.filePath("small/target"), "the previous file");
         FillUp(folder.filePath("small"));
         return folder.filePath("small/target");
     }},
    {"a read-only file", false,
     [](const QDir& folder, std::unique_ptr<Mount>& mount) {
         WriteFile(folder.filePath("locked"), "the previous file");
         mount = Mount::ReadOnlyFile(folder.filePath("locked"));
         return mount ? folder.filePath("locked") : QString();
     }},
    {"a pipe that nobody reads", false,
     [](const QDir& folder, std::unique_ptr<Mount>&) {
         const QString name = folder.filePath("pipe");
         return mkfifo(QFile::encodeName(name), 0600) == 0 ? name : QString();
     }},
};

// What a target holds: its kind and, for a file, its bytes.
QByteArray WhatIsAt(const QString& name)
{
    const QFileInfo info(name);
    if (!info.exists() || info.isDir() || !info.isFile()) {
        return info.exists() ? "<not a file>" : "<missing>";
    }
    return QByteArray::fromStdString(ReadText(name.toStdString()));
}

TEST_F(FileFaultsTest, SavingWhereTheFileCannotBeWrittenSaysSoAndKeepsTheDocument)
{
    for (const UnwritableTarget& fault : unwritableTargets) {
        SCOPED_TRACE(fault.name);
        std::unique_ptr<Mount> mount;
        const QString name = fault.prepare(QDir(folder.path()), mount);
        if (name.isEmpty()) {
            std::cout << "[  SKIPPED ] " << fault.name << ": cannot be made here\n";
            continue;
        }
        const QByteArray previous = WhatIsAt(name);
        const QStringList listing = Listing(folder.path());
        const DocumentView before = View();
        // The dialog asks before replacing a file that exists.
        std::vector<DialogAnswer> answers = {Choose(name, "All Files (*.*)")};
        if (QFileInfo::exists(name)) {
            answers.push_back(Click(QMessageBox::Yes));
        }
        const QString text = BoxShownBy("actFileSaveAs", answers);
        EXPECT_TRUE(text.startsWith("無法儲存檔案：" + QDir::toNativeSeparators(name) + "\n"))
            << text.toStdString();
        EXPECT_GT(text.size(), text.indexOf('\n') + 1) << "no reason given";
        if (fault.full) {
            EXPECT_TRUE(text.endsWith(std::strerror(ENOSPC))) << text.toStdString();
        }
        EXPECT_EQ(View(), before);
        EXPECT_EQ(WhatIsAt(name), previous);
        EXPECT_EQ(Listing(folder.path()), listing);
    }
    EXPECT_FALSE(QFileInfo("/dev/full").isFile()) << "the device was replaced by a file";
}

TEST_F(FileFaultsTest, SavingMemoryWhereTheFileCannotBeWrittenSaysSoAndKeepsTheFlag)
{
    form->Machine().SetMemory(7, 7);
    for (const UnwritableTarget& fault : unwritableTargets) {
        SCOPED_TRACE(fault.name);
        std::unique_ptr<Mount> mount;
        const QString name = fault.prepare(QDir(folder.path()), mount);
        if (name.isEmpty()) {
            continue;
        }
        const QByteArray previous = WhatIsAt(name);
        const QStringList listing = Listing(folder.path());
        const DocumentView before = View();
        Trigger("actEditClearMessage");
        std::vector<DialogAnswer> answers = {Choose(name, "All Files (*.*)")};
        if (QFileInfo::exists(name)) {
            answers.push_back(Click(QMessageBox::Yes));
        }
        AnswerInTurn(answers);
        Trigger("actFileSaveMemory");
        EXPECT_TRUE(Log().startsWith(fault.full ? "無法儲存記憶體 No:" : "無法建立檔案：" + name))
            << Log().toStdString();
        EXPECT_EQ(View(), before);
        EXPECT_EQ(WhatIsAt(name), previous);
        EXPECT_EQ(Listing(folder.path()), listing);
    }
}

// Saving the document under its own name, once that name can no longer be written.
TEST_F(FileFaultsTest, SavingUnderTheDocumentsNameAfterItTurnedReadOnlyKeepsTheFile)
{
    AnswerInTurn({Choose(Path("prog.asm"))});
    Trigger("actFileSaveAs");
    const QByteArray saved = WhatIsAt(Path("prog.asm"));
    const auto locked = Mount::ReadOnlyFile(Path("prog.asm"));
    if (!locked) {
        GTEST_SKIP() << "no read-only mount here";
    }
    SetRows({{"", "HALT", ""}});
    const DocumentView before = View();
    EXPECT_TRUE(BoxShownBy("actFileSave", {}).startsWith("無法儲存檔案："));
    EXPECT_EQ(View(), before);
    EXPECT_EQ(WhatIsAt(Path("prog.asm")), saved);
}

// Megabytes of arbitrary bytes: opened, assembled and saved again without a
// crash. The times are reported, not judged.
TEST_F(FileFaultsTest, AFileOfMegabytesOfArbitraryBytesOpensAssemblesAndSaves)
{
    std::mt19937 random(9);
    QByteArray bytes(4 << 20, '\0');
    for (char& byte : bytes) {
        byte = static_cast<char>(random());
    }
    Write("noise.bin", bytes);
    QElapsedTimer clock;

    clock.start();
    AnswerInTurn({Click(QMessageBox::No), Choose(Path("noise.bin"))});
    Trigger("actFileOpen");
    std::cout << "Open of 4 MiB: " << clock.elapsed() << " ms, "
              << Find<QTableWidget>("sgrdCode")->rowCount() << " rows, " << ResidentMiB()
              << " MiB resident\n";
    EXPECT_EQ(form->RecordedState(), StateOpened);
    EXPECT_GT(Find<QTableWidget>("sgrdCode")->rowCount(), 100000);
    EXPECT_EQ(form->CellText(Find<QTableWidget>("sgrdCode")->rowCount() - 1, 0),
              QString::number(Find<QTableWidget>("sgrdCode")->rowCount()));

    clock.start();
    Trigger("actAssemblyRun");
    std::cout << "Assemble: " << clock.elapsed() << " ms\n";
    EXPECT_FALSE(Log().isEmpty());

    clock.start();
    form->SetState(StateModified);
    Trigger("actFileSave");
    std::cout << "Save: " << clock.elapsed() << " ms\n";
    EXPECT_FALSE(Action("actFileSave")->isEnabled());

    clock.start();
    QByteArray image;
    for (int pair = 0; pair < 500000; ++pair) {
        image +=
            QByteArray::number(random() % 256) + ' ' + QByteArray::number(random() % 256) + '\n';
    }
    Write("large.mm", image);
    AnswerInTurn({Choose(Path("large.mm"))});
    Trigger("actFileLoadMemory");
    std::cout << "Load Memory of " << image.size() / 1024 << " KiB: " << clock.elapsed() << " ms\n";
    EXPECT_FALSE(Action("actFileSaveMemory")->isEnabled());
}
