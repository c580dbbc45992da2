#pragma once

#include "pdf_page_file.h"
#include "printer_device.h"

#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>

#include <memory>


/// The paper of the user's locale: Letter in the territories that use it
/// (the United States, Canada, Mexico, the Philippines, ...) or that measure
/// in US units, A4 everywhere else, including the C locale.
QPageSize::PageSizeId DefaultPaperSize(const QLocale& locale);

/// The built-in "Print to PDF" printer, current when no printer is
/// installed: portrait paper of the locale's size at 600 dpi with no
/// hardware margins, so the printable area is the whole sheet and the
/// physical offsets are 0. A job writes its pages to OutputFileName; the
/// file appears only when the job ends successfully, replacing any older
/// file of that name, and an aborted job leaves the folder as it was.
class TPdfPrinter : public TPrinterDevice {
public:
    static constexpr int kResolution = 600;

    explicit TPdfPrinter(QPageSize::PageSizeId paper = DefaultPaperSize(QLocale::system()));
    ~TPdfPrinter() override;

    /// The file the next job writes. beginDoc raises EPrinter while it is empty.
    void setOutputFileName(const QString& fileName) { fileName_ = fileName; }
    QString outputFileName() const { return fileName_; }
    QPageSize::PageSizeId paperSize() const { return paper_; }

    int caps(TDeviceCap cap) const override;
    QString name() const override;
    void beginDoc() override;
    void newPage() override;
    void endDoc() override;
    void abort() noexcept override;
    bool printing() const override { return page_.Active(); }
    QPainter& canvas() override;

private:
    QPageLayout pageLayout() const;
    QPageSize::PageSizeId paper_;
    QString fileName_;
    TPdfPageFile page_;
};
