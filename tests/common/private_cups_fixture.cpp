#include "private_cups_fixture.h"

#include "printer.h"
#include "qt_printer.h"

#include <QFile>
#include <QPrinterInfo>

void PrivateCupsFixture::SetUpTestSuite()
{
    cups_ = std::make_unique<PrivateCups>();
    whyNot_ = cups_->start();
    if (whyNot_)
        return;
    qputenv("CUPS_SERVER", cups_->socket().toLocal8Bit());
    qunsetenv("PRINTER");
    qunsetenv("LPDEST");
}

void PrivateCupsFixture::TearDownTestSuite()
{
    cups_.reset();
    whyNot_.reset();
}

void PrivateCupsFixture::SetUp()
{
    if (whyNot_)
        GTEST_SKIP() << "no private CUPS scheduler: " << whyNot_->toStdString();
    QFile::remove(cups_->outputFile());
    const QPrinterInfo queue = QPrinterInfo::printerInfo(PrivateCups::kQueue);
    if (queue.isNull())
        GTEST_SKIP() << "Qt's CUPS support does not see the private queue";
    previous_ = SetPrinter(std::make_unique<TQtPrinter>(queue));
}

void PrivateCupsFixture::TearDown()
{
    // The printer goes before its scheduler.
    SetPrinter(std::move(previous_));
}
