#pragma once

#include "printer_device.h"

#include <QImage>
#include <QPainter>

#include <array>
#include <vector>

/// A printer that exists only in memory, for tests: the test sets its six
/// capabilities, and each job paints onto a white page image of the
/// printable area (HorzRes x VertRes, origin at its top-left corner, as on a
/// real printer); NewPage starts another such image. Ended jobs keep their
/// pages in PrintedPages, one after the other, and their page counts in
/// PrintedJobs; aborted ones only count (AbortedJobs).
class TTestPrinter : public TPrinterDevice {
public:
    TTestPrinter(int horzRes, int vertRes, int dpiX, int dpiY, int offsetX = 0, int offsetY = 0);
    ~TTestPrinter() override;

    void SetCaps(TDeviceCap cap, int value);
    void SetName(const QString& name) { FName = name; }
    /// While set, every capability query made during a job raises EPrinter:
    /// a printer that goes away halfway through a page.
    void SetFailWhilePrinting(bool fail) { FFailWhilePrinting = fail; }
    /// While set, BeginDoc raises EPrinter as a printer that cannot start a job.
    void SetFailBeginDoc(bool fail) { FFailBeginDoc = fail; }

    int Caps(TDeviceCap cap) const override;
    QString Name() const override { return FName; }
    void BeginDoc() override;
    void NewPage() override;
    void EndDoc() override;
    void Abort() noexcept override;
    bool Printing() const override { return FPainter.isActive(); }
    QPainter& Canvas() override;

    /// The page of the running job; null when none runs.
    const QImage& Page() const { return FPage; }
    const std::vector<QImage>& PrintedPages() const { return FPrinted; }
    /// The number of pages of each ended job, in order.
    const std::vector<int>& PrintedJobs() const { return FJobs; }
    int AbortedJobs() const { return FAborted; }

private:
    std::array<int, 6> FCaps{};
    QString FName = QStringLiteral("Test Printer");
    bool FFailWhilePrinting = false;
    bool FFailBeginDoc = false;

    void startPage();
    QImage FPage;
    QPainter FPainter;
    std::vector<QImage> FJobPages;  // the running job's finished pages
    std::vector<int> FJobs;
    std::vector<QImage> FPrinted;
    int FAborted = 0;
};
