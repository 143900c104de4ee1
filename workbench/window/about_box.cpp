#include "workbench/window/about_box.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About"));
    setFixedSize(298, 218);
    QFont boxFont(QStringLiteral("MS Sans Serif"));
    boxFont.setPixelSize(11);
    setFont(boxFont);

    auto* panel = new QFrame(this);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    auto* grid = new QGridLayout(panel);
    auto* icon = new QLabel(panel);
    icon->setObjectName(QStringLiteral("ProgramIcon"));
    icon->setFixedSize(32, 32);
    grid->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    const char* names[] = {"ProductName", "Version", "Copyright", "Comments"};
    const char* texts[] = {"Product Name", "Version", "Copyright", "Comments"};
    for (int i = 0; i < 4; ++i) {
        auto* label = new QLabel(QLatin1String(texts[i]), panel);
        label->setObjectName(QLatin1String(names[i]));
        grid->addWidget(label, i, 1);
    }

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
}
