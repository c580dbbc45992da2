#pragma once

#include "printer_device.h"

#include <QImage>
#include <QPainter>

#include <array>
#include <vector>

/// A printer that exists only in memory, for tests: the test sets its six
/// capabilities, and each job paints onto a white page image of the
/// printable area (HorzRes x VertRes, origin at its top-left corner, as on a
/// real printer); newPage starts another such image. Ended jobs keep their
/// pages in printedPages, one after the other, and their page counts in
/// printedJobs; aborted ones only count (abortedJobs).
class TTestPrinter : public TPrinterDevice {
public:
    TTestPrinter(int horzRes, int vertRes, int dpiX, int dpiY, int offsetX = 0, int offsetY = 0);
    ~TTestPrinter() override;

    void setCaps(TDeviceCap cap, int value);
    void setName(const QString& name) { name_ = name; }
    /// While set, every capability query made during a job raises EPrinter:
    /// a printer that goes away halfway through a page.
    void setFailWhilePrinting(bool fail) { failWhilePrinting_ = fail; }
    /// While set, beginDoc raises EPrinter as a printer that cannot start a job.
    void setFailBeginDoc(bool fail) { failBeginDoc_ = fail; }

    int caps(TDeviceCap cap) const override;
    QString name() const override { return name_; }
    void beginDoc() override;
    void newPage() override;
    void endDoc() override;
    void abort() noexcept override;
    bool printing() const override { return painter_.isActive(); }
    QPainter& canvas() override;

    /// The page of the running job; null when none runs.
    const QImage& page() const { return page_; }
    const std::vector<QImage>& printedPages() const { return printed_; }
    /// The number of pages of each ended job, in order.
    const std::vector<int>& printedJobs() const { return jobs_; }
    int abortedJobs() const { return aborted_; }

private:
    std::array<int, 6> caps_{};
    QString name_ = QStringLiteral("Test Printer");
    bool failWhilePrinting_ = false;
    bool failBeginDoc_ = false;

    void startPage();
    QImage page_;
    QPainter painter_;
    std::vector<QImage> jobPages_;  // the running job's finished pages
    std::vector<int> jobs_;
    std::vector<QImage> printed_;
    int aborted_ = 0;
};
