// Every text the window can show exists in Big5, the character set of the
// classroom machines the texts were written for.
#include "window_test.h"

#include "texts/error_messages.h"

#include <QAction>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QTabBar>

#include <iconv.h>

namespace {

bool ConvertsToBig5(const QString& text)
{
    QByteArray utf8 = text.toUtf8();
    iconv_t converter = iconv_open("BIG5", "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        ADD_FAILURE() << "iconv has no BIG5";
        return false;
    }
    char* in = utf8.data();
    std::size_t inLeft = utf8.size();
    QByteArray out(utf8.size() * 2 + 4, '\0');
    char* outPointer = out.data();
    std::size_t outLeft = out.size();
    const std::size_t result = iconv(converter, &in, &inLeft, &outPointer, &outLeft);
    iconv_close(converter);
    return result != static_cast<std::size_t>(-1) && inLeft == 0;
}

} // namespace

class Big5TextsTest : public WindowTest {};

TEST_F(Big5TextsTest, WidgetsActionsAndMenus)
{
    QStringList texts = {form->windowTitle()};
    for (QAction* action : form->findChildren<QAction*>()) {
        texts << action->text() << action->toolTip() << action->statusTip();
    }
    for (QMenu* menu : form->findChildren<QMenu*>()) {
        texts << menu->title();
    }
    for (QLabel* label : form->findChildren<QLabel*>()) {
        texts << label->text();
    }
    for (QWidget* widget : form->findChildren<QWidget*>()) {
        texts << widget->toolTip() << widget->statusTip();
    }
    auto* tabs = Find<QTabBar>("tabMM");
    for (int tab = 0; tab < tabs->count(); ++tab) {
        texts << tabs->tabText(tab);
    }
    for (const QString& text : texts) {
        EXPECT_TRUE(ConvertsToBig5(text)) << text.toStdString();
    }
}

TEST_F(Big5TextsTest, ErrorMessages)
{
    for (int subCode = -1; subCode <= 110; ++subCode) {
        for (const std::string& line : ErrorMessageLines(subCode, 7, 16, "a.mm", "b.mm")) {
            EXPECT_TRUE(ConvertsToBig5(QString::fromStdString(line))) << line;
        }
    }
}

// Message boxes and other texts built at the moment they are needed: every
// string literal of the window's sources.
TEST_F(Big5TextsTest, StringLiteralsOfTheWindowSources)
{
    const QRegularExpression literal(QStringLiteral(R"re("((?:[^"\\\n]|\\.)*)")re"));
    int files = 0;
    QDirIterator sources(QStringLiteral(MIRA_WORKBENCH_SOURCE_DIR),
                         {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                         QDirIterator::Subdirectories);
    while (sources.hasNext()) {
        const QString name = sources.next();
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString code = QString::fromUtf8(file.readAll());
        ++files;
        for (const auto& match : literal.globalMatch(code)) {
            EXPECT_TRUE(ConvertsToBig5(match.captured(1)))
                << name.toStdString() << ": " << match.captured(1).toStdString();
        }
    }
    EXPECT_GT(files, 10);
}
