#include "work_progress.h"

#include <QApplication>
#include <QCoreApplication>
#include <QProgressDialog>

namespace {

// Work shorter than this shows only the busy cursor.
constexpr int kShowAfterMs = 400;

void repaint()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace

TWorkProgress::TWorkProgress(QWidget* Parent)
    : FDialog(std::make_unique<QProgressDialog>(Parent))
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    FDialog->setObjectName(QStringLiteral("work_progress"));
    FDialog->setWindowTitle(QCoreApplication::applicationName());
    FDialog->setWindowModality(Qt::WindowModal);
    FDialog->setCancelButton(nullptr);
    FDialog->setMinimumDuration(kShowAfterMs);
    FDialog->setMinimumWidth(320);
    FDialog->setAutoClose(false);
    FDialog->setAutoReset(false);
    FDialog->setRange(0, 0);
    FDialog->setValue(0);
}

TWorkProgress::~TWorkProgress()
{
    FDialog->hide();
    QApplication::restoreOverrideCursor();
}

void TWorkProgress::Stage(const QString& Text)
{
    FDialog->setLabelText(Text);
    FDialog->setRange(0, 0);
    FDialog->setValue(0);
    repaint();
}

void TWorkProgress::Step(int Done, int Total)
{
    if (FDialog->maximum() != Total)
        FDialog->setRange(0, Total);
    // setValue shows the dialog once the minimum duration has passed and
    // processes events itself while the dialog is modal.
    FDialog->setValue(Done);
    repaint();
}

TProgress TWorkProgress::Reporter()
{
    return [this](int Done, int Total) { Step(Done, Total); };
}
