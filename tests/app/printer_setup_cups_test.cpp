// The print dialog on a real CUPS queue: a private scheduler with one queue
// (the cups-pdf printer description). Where no such scheduler can run, the
// test skips.
#include "printer_setup.h"

#include "printer.h"
#include "private_cups_fixture.h"
#include "qt_printer.h"
#include "sheet_printer.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QPageLayout>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using SheetOnCups = PrivateCupsFixture;

namespace {

// Runs `action` on the next modal window other than `except`, from inside
// its own event loop.
void onNextModal(std::function<void(QWidget&)> action, QWidget* except = nullptr)
{
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, action, except] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal != except) {
            timer->stop();
            timer->deleteLater();
            action(*modal);
        }
    });
    timer->start();
}

// The print dialog confirmed at once, or after choosing `paper` and
// landscape in the printer's properties; what the properties showed first.
QString runPrintDialog(const QString& paper = {})
{
    QString shown;
    onNextModal([&](QWidget& dialog) {
        if (paper.isEmpty()) {
            static_cast<QDialog&>(dialog).accept();
            return;
        }
        onNextModal(
            [&](QWidget& properties) {
                auto* sizes = properties.findChild<QComboBox*>(QStringLiteral("pageSizeCombo"));
                auto* landscape = properties.findChild<QRadioButton*>(QStringLiteral("landscape"));
                if (sizes && landscape) {
                    shown = sizes->currentText();
                    sizes->setCurrentIndex(sizes->findText(paper));
                    landscape->click();
                }
                static_cast<QDialog&>(properties).accept();
                QTimer::singleShot(50, &dialog, [&dialog] { static_cast<QDialog&>(dialog).accept(); });
            },
            &dialog);
        dialog.findChild<QPushButton*>(QStringLiteral("properties"))->click();
    });
    EXPECT_TRUE(RunPrintDialog(nullptr));
    return shown;
}

}  // namespace

TEST_F(SheetOnCups, ThePrintDialogKeepsPaperOrientationAndPrinter)
{
    TIDPrinter sheet(Printer());
    const int a4Capacity = sheet.Capacity();
    EXPECT_EQ(runPrintDialog(QStringLiteral("US Letter")), QStringLiteral("A4"));
    const auto expectLetterLandscape = [&](const char* when) {
        auto& device = dynamic_cast<TQtPrinter&>(Printer()).Device();
        EXPECT_EQ(device.printerName(), PrivateCups::kQueue) << when;
        EXPECT_TRUE(device.pageLayout().pageSize().isEquivalentTo(QPageSize(QPageSize::Letter)))
            << when << ": " << device.pageLayout().pageSize().name().toStdString();
        EXPECT_EQ(device.pageLayout().orientation(), QPageLayout::Landscape) << when;
    };
    expectLetterLandscape("chosen");
    runPrintDialog();
    expectLetterLandscape("confirmed again");
    EXPECT_EQ(runPrintDialog(QStringLiteral("US Letter")), QStringLiteral("US Letter"))
        << "the properties open at the kept paper";
    expectLetterLandscape("properties confirmed");

    // The grid follows the paper across.
    sheet.UpdateMetrics();
    EXPECT_GT(Printer().Caps(TDeviceCap::HorzRes), Printer().Caps(TDeviceCap::VertRes));
    EXPECT_NE(sheet.Capacity(), a4Capacity);
}
