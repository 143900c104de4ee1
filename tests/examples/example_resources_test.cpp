// The examples carried inside the program are the files of the folder, byte for byte.
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

QByteArray Bytes(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

} // namespace

TEST(ExampleResources, AreTheFilesOfTheFolder)
{
    Q_INIT_RESOURCE(examples);
    const QDir folder(QStringLiteral(MIRA_EXAMPLES_DIR));
    QStringList files = folder.entryList(QDir::Files, QDir::Name);
    files.removeOne(QStringLiteral("CMakeLists.txt"));
    const QDir resources(QStringLiteral(":/examples"));
    ASSERT_EQ(resources.entryList(QDir::Files, QDir::Name).join(' ').toStdString(),
              files.join(' ').toStdString());
    for (const QString& name : files) {
        EXPECT_EQ(Bytes(resources.filePath(name)), Bytes(folder.filePath(name)))
            << name.toStdString();
    }
}
