#include "workbench/commands/example_programs.h"

#include <QFile>

QList<ExampleProgram> BuiltInExamples()
{
    Q_INIT_RESOURCE(examples);
    // One line per example: its file name, a tab and its title.
    QFile index(QStringLiteral(":/examples/examples.txt"));
    QList<ExampleProgram> examples;
    if (!index.open(QIODevice::ReadOnly)) {
        return examples;
    }
    for (const QByteArray& line : index.readAll().split('\n')) {
        const qsizetype tab = line.indexOf('\t');
        if (tab > 0) {
            const QString file = QString::fromUtf8(line.left(tab));
            examples.append({QString::fromUtf8(line.mid(tab + 1)).trimmed(), file,
                             QStringLiteral(":/examples/") + file});
        }
    }
    return examples;
}
