#include "editor_test.h"

#include <QAbstractItemView>
#include <QVBoxLayout>

QTableWidget* GridUser::Grid() const
{
    return Window()->findChild<QTableWidget*>(QStringLiteral("sgrdCode"));
}

QRect GridUser::CellRect(int row, int column) const
{
    return Grid()->visualRect(Grid()->model()->index(row, column));
}

void GridUser::ClickCell(int row, int column, Qt::MouseButton button)
{
    QTest::mouseClick(Grid()->viewport(), button, {}, CellRect(row, column).center());
}

QStringList GridUser::Row(int row) const
{
    QStringList texts;
    for (int column = 1; column <= 3; ++column) {
        const QTableWidgetItem* item = Grid()->item(row, column);
        texts << (item ? item->text() : QString());
    }
    return texts;
}

void GridUser::Pick(QComboBox* box, const QString& item)
{
    ASSERT_NE(box, nullptr);
    QAbstractItemView* list = box->view();
    ASSERT_TRUE(QTest::qWaitFor([list] { return list->isVisible(); })) << "list not dropped down";
    const QRect rect = list->visualRect(box->model()->index(box->findText(item), 0));
    const QPoint centre(list->viewport()->width() / 2, rect.center().y());
    QTest::mouseMove(list->viewport(), centre);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    ASSERT_TRUE(QTest::qWaitFor([list] { return !list->isVisible(); })) << "list still down";
}

void GridUser::ChooseMnemonic(int row, const QString& mnemonic)
{
    ClickCell(row, 2);
    Pick(Window()->findChild<QComboBox*>(QStringLiteral("cboOpcode")), mnemonic);
}

QComboBox* GridUser::DroppedBox() const
{
    QComboBox* dropped = nullptr;
    (void)QTest::qWaitFor([this, &dropped] {
        for (const char* name : {"cboR1", "cboR2", "cboR3"}) {
            auto* box = Window()->findChild<QComboBox*>(QLatin1String(name));
            if (box->view()->isVisible()) {
                dropped = box;
            }
        }
        return dropped != nullptr;
    });
    return dropped;
}

void GridUser::Type(const QString& keys)
{
    QTest::keyClicks(QApplication::focusWidget(), keys);
}

void GridUser::Press(Qt::Key key)
{
    QTest::keyClick(QApplication::focusWidget(), key);
}

EditorHost::EditorHost()
    : editor(new TProgramEditor(this)), actEditInsertLine(new QAction(this)),
      actEditDeleteLine(new QAction(this)), actEditUndo(new QAction(this)),
      actEditRedo(new QAction(this)), txtLabel(findChild<QLineEdit*>("txtLabel")),
      cboOpcode(findChild<QComboBox*>("cboOpcode")), pnlOperand(findChild<QFrame*>("pnlOperand")),
      cboR1(findChild<QComboBox*>("cboR1")), cboR2(findChild<QComboBox*>("cboR2")),
      cboR3(findChild<QComboBox*>("cboR3")), txtAddress(findChild<QLineEdit*>("txtAddress"))
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(editor);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    QObject::connect(editor, &TProgramEditor::modified, this, [this] { state_ = StateModified; });
    QObject::connect(editor, &TProgramEditor::emptied, this, [this] { state_ = StateNew; });
    QObject::connect(editor, &TProgramEditor::programRestored, this,
                     [this](bool saved) { state_ = saved ? StateSaved : StateModified; });
    QObject::connect(editor, &TProgramEditor::lineCommandsChanged, this,
                     [this](bool canInsert, bool canDelete) {
                         actEditInsertLine->setEnabled(canInsert);
                         actEditDeleteLine->setEnabled(canDelete);
                     });
    QObject::connect(editor, &TProgramEditor::undoAvailable, actEditUndo, &QAction::setEnabled);
    QObject::connect(editor, &TProgramEditor::redoAvailable, actEditRedo, &QAction::setEnabled);
    // Each command commits any open edit first, as the window's do.
    const std::pair<QAction*, std::function<void()>> commands[] = {
        {actEditInsertLine, [this] { editor->InsertLine(); }},
        {actEditDeleteLine, [this] { editor->DeleteLine(); }},
        {actEditUndo, [this] { editor->Undo(); }},
        {actEditRedo, [this] { editor->Redo(); }},
    };
    for (const auto& [action, command] : commands) {
        action->setEnabled(false);
        QObject::connect(action, &QAction::triggered, this, [this, command = command] {
            editor->CommitEdits();
            command();
        });
    }
    editor->RenumberRows(0);
}

void EditorTest::SetUp()
{
    form = std::make_unique<EditorHost>();
    form->show();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
}

void EditorTest::Load(const QList<QStringList>& lines)
{
    std::vector<SourceRow> rows;
    for (const QStringList& line : lines) {
        rows.push_back({line.value(0).toStdString(), line.value(1).toStdString(),
                        line.value(2).toStdString()});
    }
    form->editor->SetRows(rows);
    form->editor->RenumberRows(0);
}

int EditorTest::Tag(const QString& name) const
{
    return form->findChild<QWidget*>(name)->property("tag").toInt();
}
