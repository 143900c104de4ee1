#include "workbench/datapath/step_picture.h"

#include "machine/datapath.h"
#include "texts/micro_step_narration.h"
#include "workbench/datapath/datapath_view.h"
#include "workbench/log/message_log.h"
#include "workbench/machine_view/machine_view.h"
#include "workbench/run/run_control.h"

#include <QDialog>
#include <QLabel>
#include <QVBoxLayout>

TStepPicture::TStepPicture(TMachineView& view, TRunControl& runControl, TMessageLog& log,
                           QWidget* window)
    : QObject(window), view_(view), runControl_(runControl), log_(log),
      pnlDatapath(new TDatapathView(&view)), lblNarration(new QLabel(&view)),
      DatapathWindow(new QDialog(window)), pnlDatapathLarge(new TDatapathView(DatapathWindow))
{
    pnlDatapath->setObjectName(QStringLiteral("pnlDatapath"));
    pnlDatapath->setToolTip(QStringLiteral("按一下以大圖顯示資料路徑"));
    connect(pnlDatapath, &TDatapathView::clicked, this, &TStepPicture::datapathWindowRequested);
    lblNarration->setObjectName(QStringLiteral("lblNarration"));
    lblNarration->setWordWrap(true);
    lblNarration->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    view.AddBelowMemory(pnlDatapath, 1);
    view.AddBelowMemory(lblNarration, 0);

    DatapathWindow->setObjectName(QStringLiteral("DatapathWindow"));
    DatapathWindow->setWindowTitle(QStringLiteral("資料路徑"));
    DatapathWindow->setModal(false);
    pnlDatapathLarge->setObjectName(QStringLiteral("pnlDatapathLarge"));
    auto* layout = new QVBoxLayout(DatapathWindow);
    layout->addWidget(pnlDatapathLarge);
    connect(DatapathWindow, &QDialog::finished, this, &TStepPicture::datapathWindowClosed);
}

void TStepPicture::ShowLastMicroStep()
{
    const MicroStepRecord* last = runControl_.LastMicroStep();
    const DatapathLighting lighting = last ? LightDatapath(*last) : DatapathLighting{};
    const QString sentence =
        last ? QString::fromStdString(NarrationOf(*last, view_.Radix())) : QString();
    for (TDatapathView* picture : {pnlDatapath, pnlDatapathLarge}) {
        picture->SetColours(view_.WriteColour(), view_.ReadColour());
        picture->SetRadix(view_.Radix());
        picture->ShowLighting(lighting);
    }
    if (lblNarration->text() != sentence) {
        lblNarration->setText(sentence);
    }
}

void TStepPicture::SetNarration(bool on)
{
    if (!on) {
        runControl_.TellEachMicroStep({});
        return;
    }
    runControl_.TellEachMicroStep([this](const MicroStepRecord& record) {
        const QString sentence = QString::fromStdString(NarrationOf(record, view_.Radix()));
        const MessageTarget instruction{MessageTarget::Address,
                                        InstructionAddressOf(record.before)};
        for (const QString& line : sentence.split(u'\n', Qt::SkipEmptyParts)) {
            log_.ShowLine(line, instruction);
        }
    });
}

void TStepPicture::ShowDatapathWindow(bool shown)
{
    if (shown) {
        if (!DatapathWindow->testAttribute(Qt::WA_Resized)) {
            const int unit = DatapathWindow->fontMetrics().height() / 2;
            DatapathWindow->resize(DatapathColumns * unit, DatapathRows * unit);
        }
        DatapathWindow->show();
    } else {
        DatapathWindow->hide();
    }
}
