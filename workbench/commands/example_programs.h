#pragma once

#include <QList>
#include <QString>

// An example program built into the workbench.
struct ExampleProgram {
    QString title;    // as the menu shows it
    QString file;     // the name of its file among the examples
    QString resource; // where the program reads it
};

// The built-in examples in the order and with the titles of their index.
QList<ExampleProgram> BuiltInExamples();
