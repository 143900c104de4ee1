#include "document_test.h"
#include "editor_test.h"

#include "machine/cpu.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QTableWidget>
#include <QTimer>

namespace {

const QByteArray savedProgram = "       START  10\r\n"
                                "LOOP   LOAD   R1,@20\r\n"
                                "       HALT\r\n"
                                "DATA\r\n"
                                "       DB     05\r\n";

const QByteArray programAtZero = QByteArray(savedProgram).replace("START  10", "START  00");

const std::vector<Row> programRows = {
    {"LOOP", "LOAD", "R1,@20"}, {"", "HALT", ""}, {"DATA", "", ""}, {"", "DB", "05"}};

std::vector<Row> WithEmptyLastRow(std::vector<Row> rows)
{
    rows.push_back({});
    return rows;
}

// Types the name into the dialog's name field and presses Enter, as a user does.
DialogAnswer TypeAndEnter(const QString& fileName)
{
    return [fileName](QWidget* dialog) {
        auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(field, nullptr);
        field->setFocus();
        field->clear();
        // Keys go where the window system sends them: to an open pop-up first.
        auto target = [field] {
            QWidget* popup = QApplication::activePopupWidget();
            return popup ? popup : field;
        };
        for (const QChar c : fileName) {
            QTest::keyClick(target(), c.toLatin1());
        }
        QTest::keyClick(target(), Qt::Key_Return);
    };
}

} // namespace

class DocumentCommandsTest : public DocumentTest {
protected:
    void Open(const QString& name)
    {
        AnswerInTurn({Choose(Path(name))});
        Trigger("actFileOpen");
    }
    QString Title(const QString& name) const { return QStringLiteral("MIRA - ") + Path(name); }
};

TEST_F(DocumentCommandsTest, SaveWritesTheNonEmptyRowsAndOpenReadsThemBack)
{
    SetRows({programRows[0], {}, programRows[1], programRows[2], programRows[3]});
    SetStart("10");
    AnswerInTurn({Choose(Path("prog.asm"))});
    Trigger("actFileSave"); // no name yet: Save As
    EXPECT_EQ(Contents("prog.asm"), savedProgram);
    EXPECT_EQ(form->windowTitle(), Title("prog.asm"));
    EXPECT_EQ(form->RecordedState(), StateSaved);
    EXPECT_FALSE(Action("actFileSave")->isEnabled());

    Trigger("actFileNew");
    EXPECT_EQ(Rows(), std::vector<Row>{{}});
    EXPECT_EQ(LineNumbers(), QStringList{"1"});
    EXPECT_EQ(form->windowTitle(), "MIRA - ");

    Open("prog.asm");
    EXPECT_EQ(Rows(), WithEmptyLastRow(programRows));
    EXPECT_EQ(LineNumbers(), QStringList({"1", "2", "3", "4", "5"}));
    EXPECT_EQ(Text("txtStart"), "10");
    EXPECT_EQ(Tag("txtStart"), 0x10);
    EXPECT_EQ(form->windowTitle(), Title("prog.asm"));
    EXPECT_EQ(form->RecordedState(), StateOpened);
    EXPECT_FALSE(Action("actFileSave")->isEnabled());
    EXPECT_TRUE(Action("actFileSaveAs")->isEnabled());
    EXPECT_TRUE(Action("actAssemblyRun")->isEnabled());
}

TEST_F(DocumentCommandsTest, OpenThenSaveWritesTheFileInItsCanonicalForm)
{
    const struct {
        const char* name;
        QByteArray read;
        QByteArray written;
    } cases[] = {
        {"as written", savedProgram, savedProgram},
        {"LF line ends", QByteArray(savedProgram).replace("\r\n", "\n"), savedProgram},
        {"bytes beyond ASCII", "       START  00\r\n\xA4\xA4     DB     \xB0\xAA\r\n\xFF\r\n",
         "       START  00\r\n\xA4\xA4     DB     \xB0\xAA\r\n\xFF\r\n"},
        {"hand-edited fields", "AB CD  HALT\r\n       START  1FZ\r\n\r\n       START  0A\r\n",
         "       START  0A\r\nAB     HALT\r\n"},
        {"unusable START value", "       START  1f\r\n       HALT\r\n",
         "       START  \r\n       HALT\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Write("in.asm", c.read);
        Open("in.asm");
        form->SetState(StateModified);
        Trigger("actFileSave");
        EXPECT_EQ(Contents("in.asm"), c.written);
    }
}

TEST_F(DocumentCommandsTest, UndoAndRedoFollowTheSavedProgramAndItsStart)
{
    Write("prog.asm", savedProgram);
    Open("prog.asm");
    auto deleteFirstLine = [this] {
        Find<QTableWidget>("sgrdCode")->setCurrentCell(0, 1);
        form->UpdateLineActions();
        Trigger("actEditDeleteLine");
    };
    const struct {
        const char* step;
        std::function<void()> take;
        const char* start;
        int machineStart;  // -1 where START was not given to the machine
        std::size_t lines; // the last (empty) row included
        bool unsaved;
        bool undo;
        bool redo;
    } steps[] = {
        {"opened", [] {}, "10", -1, 5, false, false, false},
        {"START", [this] { SetStart("20"); }, "20", 0x20, 5, true, true, false},
        {"Delete Line", deleteFirstLine, "20", 0x20, 4, true, true, false},
        {"undo Delete Line", [this] { Trigger("actEditUndo"); }, "20", 0x20, 5, true, true, true},
        {"undo START", [this] { Trigger("actEditUndo"); }, "10", 0x10, 5, false, false, true},
        {"redo START", [this] { Trigger("actEditRedo"); }, "20", 0x20, 5, true, true, true},
        {"save", [this] { Trigger("actFileSave"); }, "20", 0x20, 5, false, true, true},
        {"undo after saving", [this] { Trigger("actEditUndo"); }, "10", 0x10, 5, true, false, true},
        {"redo to the saved", [this] { Trigger("actEditRedo"); }, "20", 0x20, 5, false, true, true},
        {"redo Delete Line", [this] { Trigger("actEditRedo"); }, "20", 0x20, 4, true, true, false},
        {"new",
         [this] {
             AnswerInTurn({Click(QMessageBox::No)});
             Trigger("actFileNew");
         },
         "00", -1, 1, false, false, false},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.step);
        s.take();
        EXPECT_EQ(Text("txtStart"), s.start);
        if (s.machineStart >= 0) {
            EXPECT_EQ(form->Machine().StartAddress(), s.machineStart);
        }
        EXPECT_EQ(Rows().size(), s.lines);
        EXPECT_EQ(Action("actFileSave")->isEnabled(), s.unsaved);
        EXPECT_EQ(Action("actEditUndo")->isEnabled(), s.undo);
        EXPECT_EQ(Action("actEditRedo")->isEnabled(), s.redo);
    }
    EXPECT_EQ(Contents("prog.asm"), QByteArray(savedProgram).replace("START  10", "START  20"));

    // A START value that the file gave unusable comes back empty; the machine
    // cannot take it and is not asked to.
    Write("nostart.asm", "       START  1f\r\n       HALT\r\n");
    Open("nostart.asm");
    SetStart("20");
    Trigger("actEditUndo");
    EXPECT_EQ(Text("txtStart"), "");
    EXPECT_EQ(Tag("txtStart"), -1);
    EXPECT_EQ(Log(), "");
    EXPECT_EQ(form->Machine().StartAddress(), 0x20);
}

TEST_F(DocumentCommandsTest, StartIsShownInTheRadixAndWrittenInHexadecimal)
{
    Write("start.asm", "       START  1F\r\n       HALT\r\n");
    Write("nostart.asm", "       HALT\r\n");
    SetStart("2A");
    AnswerInTurn({Click(QMessageBox::No), Choose(Path("nostart.asm"))});
    Trigger("actFileOpen");
    EXPECT_EQ(Text("txtStart"), "2A");
    EXPECT_EQ(Tag("txtStart"), 0x2A);

    Trigger("actCpuRadix");
    Open("start.asm");
    EXPECT_EQ(Text("txtStart"), "031");
    EXPECT_EQ(Tag("txtStart"), 31);
    Open("nostart.asm");
    EXPECT_EQ(Text("txtStart"), "031");
    form->SetState(StateModified);
    Trigger("actFileSave");
    EXPECT_EQ(Contents("nostart.asm"), "       START  1F\r\n       HALT\r\n");

    Trigger("actFileNew");
    EXPECT_EQ(Text("txtStart"), "00");
    EXPECT_EQ(Tag("txtStart"), 0);
}

TEST_F(DocumentCommandsTest, SaveAsAddsTheSuffixOnlyForANewNameWithoutItUnderTheFirstFilter)
{
    const struct {
        const char* chosen;
        const char* filter;
        const char* written;
        const char* notWritten;
    } cases[] = {
        {"a", "", "a.asm", "a"},
        {"b.asm", "", "b.asm", "b.asm.asm"},
        {"c", "All Files (*.*)", "c", "c.asm"},
    };
    SetRows(programRows);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chosen);
        AnswerInTurn({Choose(Path(c.chosen), QString::fromLatin1(c.filter))});
        Trigger("actFileSaveAs");
        EXPECT_TRUE(Exists(c.written));
        EXPECT_FALSE(Exists(c.notWritten));
        EXPECT_EQ(form->windowTitle(), Title(c.written));
    }
}

TEST_F(DocumentCommandsTest, SaveAsOntoAFileKeepsTheFirstBackupInItsFolder)
{
    ASSERT_TRUE(QDir(folder.path()).mkdir("sub"));
    Write("sub/prog.asm", "first");
    SetRows(programRows);
    AnswerInTurn({Choose(Path("sub/prog.asm")), Click(QMessageBox::Yes)});
    Trigger("actFileSaveAs");
    EXPECT_EQ(Contents("sub/prog.bak"), "first");
    EXPECT_EQ(Contents("sub/prog.asm"), programAtZero);

    SetRows({{"", "HALT", ""}});
    AnswerInTurn({Choose(Path("sub/prog.asm")), Click(QMessageBox::Yes)});
    Trigger("actFileSaveAs");
    EXPECT_EQ(Contents("sub/prog.bak"), "first");
    EXPECT_EQ(Contents("sub/prog.asm"), "       START  00\r\n       HALT\r\n");
}

TEST_F(DocumentCommandsTest, ThePromptGoesOnAfterNoOrOnceTheProgramIsSaved)
{
    Write("file.txt", "not a folder");
    QString title;
    QString text;
    const struct {
        const char* name;
        std::vector<DialogAnswer> answers;
        bool goesOn;
    } cases[] = {
        {"No", {Click(QMessageBox::No)}, true},
        {"Cancel", {Click(QMessageBox::Cancel)}, false},
        {"Yes, saved", {Click(QMessageBox::Yes), Choose(Path("new.asm"))}, true},
        {"Yes, Save As cancelled", {Click(QMessageBox::Yes), Choose(QString())}, false},
        {"Yes, writing failed",
         {Click(QMessageBox::Yes), Choose(Path("file.txt/x.asm")), KeepMessage(title, text)},
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetRows(programRows);
        AnswerInTurn(c.answers);
        Trigger("actFileNew");
        EXPECT_EQ(Rows(), c.goesOn ? std::vector<Row>{{}} : WithEmptyLastRow(programRows));
        EXPECT_EQ(Action("actFileSave")->isEnabled(), !c.goesOn);
        EXPECT_EQ(form->windowTitle(), "MIRA - ");
    }
    EXPECT_EQ(Contents("new.asm"), programAtZero);
    EXPECT_EQ(title, "File Error");
}

TEST_F(DocumentCommandsTest, AFailedSaveSaysSoAndKeepsTheDocumentModified)
{
    Write("file.txt", "not a folder");
    SetRows(programRows);
    QString title;
    QString text;
    AnswerInTurn({Choose(Path("file.txt/x.asm")), KeepMessage(title, text)});
    Trigger("actFileSaveAs");
    EXPECT_EQ(title, "File Error");
    EXPECT_TRUE(
        text.startsWith("無法儲存檔案：" + QDir::toNativeSeparators(Path("file.txt/x.asm")) + "\n"))
        << text.toStdString();
    EXPECT_GT(text.size(), text.indexOf('\n') + 1) << "no reason given";
    EXPECT_EQ(form->RecordedState(), StateModified);
    EXPECT_TRUE(Action("actFileSave")->isEnabled());
    EXPECT_EQ(form->windowTitle(), "MIRA - ");

    // The document has no name still: Save asks for one.
    bool asked = false;
    AnswerInTurn({[&asked](QWidget* dialog) {
        asked = true;
        Choose(QString())(dialog);
    }});
    Trigger("actFileSave");
    EXPECT_TRUE(asked);
}

TEST_F(DocumentCommandsTest, AFileThatCannotBeReadLeavesEverythingAsItWas)
{
    if (!QFile::exists("/proc/self/mem")) {
        GTEST_SKIP() << "needs /proc/self/mem, a file that exists but cannot be read";
    }
    SetRows(programRows);
    SetStart("2A");
    QString title;
    QString text;
    AnswerInTurn({Click(QMessageBox::No), Choose("/proc/self/mem"), KeepMessage(title, text)});
    Trigger("actFileOpen");
    EXPECT_EQ(title, "File Error");
    EXPECT_EQ(text, "Can't perform one of the following file operations: Open, Seek, Read, Close.");
    EXPECT_EQ(Rows(), WithEmptyLastRow(programRows));
    EXPECT_EQ(Text("txtStart"), "2A");
    EXPECT_EQ(Tag("txtStart"), 0x2A);
    EXPECT_EQ(form->windowTitle(), "MIRA - ");
    EXPECT_TRUE(Action("actFileSave")->isEnabled());
}

TEST_F(DocumentCommandsTest, ClosingAsksOnlyWhileTheProgramHasUnsavedChanges)
{
    SetRows(programRows);
    AnswerInTurn({Click(QMessageBox::Cancel)});
    Trigger("actFileExit");
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(Rows(), WithEmptyLastRow(programRows));

    form->SetState(StateSaved);
    form->SetState(StateMemoryChanged);
    bool asked = false;
    QTimer guard; // answers a question that should not come
    QObject::connect(&guard, &QTimer::timeout, [&asked] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            asked = true;
            dialog->close();
        }
    });
    guard.start(10);
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(asked);
}

TEST_F(DocumentCommandsTest, AnExampleFromTheMenuOpensAsAFileWithoutAName)
{
    // The menu lists the examples in the order and with the titles of their index.
    const QList<QByteArray> index =
        QByteArray::fromStdString(ReadText(MIRA_EXAMPLES_DIR "/examples.txt"))
            .trimmed()
            .split('\n');
    const QList<QAction*> items = Find<QMenu>("mnuFileExamples")->actions();
    ASSERT_EQ(items.size(), index.size());
    QAction* count = nullptr;
    for (qsizetype i = 0; i < items.size(); ++i) {
        const QStringList fields = QString::fromUtf8(index[i]).split('\t');
        EXPECT_EQ(items[i]->text(), fields.value(1));
        EXPECT_TRUE(items[i]->statusTip().endsWith(fields.value(0)));
        if (fields.value(0) == "count.asm") {
            count = items[i];
        }
    }
    ASSERT_NE(count, nullptr);

    // Unsaved changes are asked about first.
    SetRows(programRows);
    AnswerInTurn({Click(QMessageBox::Cancel)});
    count->trigger();
    EXPECT_EQ(Rows(), WithEmptyLastRow(programRows));
    AnswerInTurn({Click(QMessageBox::No)});
    count->trigger();
    const std::vector<Row> example = Rows();
    EXPECT_EQ(form->windowTitle(), "MIRA - ");
    EXPECT_EQ(form->RecordedState(), StateOpened);
    EXPECT_FALSE(Action("actFileSave")->isEnabled());
    EXPECT_TRUE(Action("actAssemblyRun")->isEnabled());

    // The same program as the file of the examples, which Save asks a name for.
    form->SetState(StateModified);
    QString shownName = "?";
    AnswerInTurn({[&shownName](QWidget* dialog) {
        shownName = dialog->findChild<QLineEdit*>("fileNameEdit")->text();
        Choose(QString())(dialog);
    }});
    Trigger("actFileSave");
    EXPECT_EQ(shownName, "");
    AnswerInTurn({Click(QMessageBox::No), Choose(MIRA_EXAMPLES_DIR "/count.asm")});
    Trigger("actFileOpen");
    EXPECT_EQ(Rows(), example);
}

class FileDialogTest : public DocumentCommandsTest, protected GridUser {
protected:
    QWidget* Window() const override { return form.get(); }
};

TEST_F(FileDialogTest, EachDialogStartsFromTheLastChoiceOfItsOwnKind)
{
    ASSERT_TRUE(QDir(folder.path()).mkpath("programs"));
    ASSERT_TRUE(QDir(folder.path()).mkpath("images"));
    const QString startFolder = QDir::currentPath();
    const struct {
        const char* command;
        const char* name; // what the dialog shows
        const char* folder;
        const char* filter;
        DialogAnswer answer;
    } steps[] = {
        {"actFileSaveAs", "", nullptr, "Assemble files(*.asm)",
         Choose(Path("programs/prog"), "All Files (*.*)")},
        {"actFileSaveMemory", "", nullptr, "Memory files(*.mm)", Choose(Path("images/image"))},
        {"actFileLoadMemory", "", "images", "Memory files(*.mm)", Choose(Path("images/image.mm"))},
        {"actFileOpen", "", "programs", "Assemble files(*.asm)", Choose(QString())},
        {"actFileSaveAs", "prog", "programs", "All Files (*.*)", Choose(QString())},
        {"actFileSaveMemory", "", "images", "Memory files(*.mm)", Choose(QString())},
    };
    SetRows(programRows);
    for (const auto& step : steps) {
        SCOPED_TRACE(step.command);
        if (QLatin1String(step.command) == "actFileSaveMemory") {
            form->SetState(StateMemoryChanged);
        }
        QString name, shownFolder, filter;
        AnswerInTurn({[&](QWidget* dialog) {
            auto* files = qobject_cast<QFileDialog*>(dialog);
            ASSERT_NE(files, nullptr);
            name = files->findChild<QLineEdit*>("fileNameEdit")->text();
            shownFolder = files->directory().absolutePath();
            filter = files->selectedNameFilter();
            step.answer(dialog);
        }});
        Trigger(step.command);
        EXPECT_EQ(name, step.name);
        EXPECT_EQ(shownFolder, step.folder ? Path(step.folder) : startFolder);
        EXPECT_EQ(filter, step.filter);
    }
    EXPECT_TRUE(Exists("programs/prog"));
    EXPECT_TRUE(Exists("images/image.mm"));
}

TEST_F(FileDialogTest, ANameTypedAndEnteredLeavesNoPopUpBehind)
{
    Write("prog.asm", savedProgram);
    AnswerInTurn({TypeAndEnter(Path("prog.asm"))});
    Trigger("actFileOpen");
    ASSERT_EQ(form->windowTitle(), Title("prog.asm"));
    QTest::qWait(300); // the dialog's folder listings arrive
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    // As on a desktop, the window is active again once nothing else shows;
    // the offscreen platform leaves the last pop-up active.
    if (!QApplication::activePopupWidget()) {
        QApplication::setActiveWindow(form.get());
    }
    ClickCell(0, 2);
    EXPECT_TRUE(QTest::qWaitFor(
        [this] { return Find<QComboBox>("cboOpcode")->view()->isVisible(); }, 1000));
}

TEST_F(FileDialogTest, ANameTypedWithoutItsSuffixOpensTheFileWithIt)
{
    Write("prog.asm", savedProgram);
    Write("image.mm", "0 12\r\n");
    for (const auto& [command, typed, title] :
         {std::tuple{"actFileOpen", "prog", Title("prog.asm")},
          std::tuple{"actFileLoadMemory", "image",
                     Title("prog.asm") + " (" + Path("image.mm") + ")"}}) {
        AnswerInTurn({TypeAndEnter(Path(typed))});
        Trigger(command);
        EXPECT_EQ(form->windowTitle(), title) << command;
    }
    EXPECT_EQ(form->Machine().GetMemory(0), 12);
}
