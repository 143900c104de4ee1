#include "workbench/window/client_layout.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QVBoxLayout>

QWidget* NewClient(QWidget* window, QWidget* editor, QWidget* log, QWidget* view)
{
    auto* client = new QWidget(window);
    client->setObjectName(QStringLiteral("Client"));
    auto* left = new QVBoxLayout;
    left->setContentsMargins(5, 0, 5, 2);
    left->setSpacing(4);
    left->addWidget(editor);
    left->addWidget(log, 1);

    auto* bevel = new QFrame(client);
    bevel->setObjectName(QStringLiteral("Bevel2"));
    bevel->setFrameShape(QFrame::VLine);
    bevel->setFrameShadow(QFrame::Sunken);

    auto* columns = new QHBoxLayout(client);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(0);
    columns->addLayout(left);
    columns->addWidget(bevel);
    columns->addWidget(view);
    return client;
}
