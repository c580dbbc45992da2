#pragma once

#include "pdf_page_file.h"
#include "printer_device.h"

#include <QPageSize>
#include <QPainter>
#include <QSizeF>
#include <QString>


/// The six capabilities of a printer, as TPrinterDevice::caps reports them.
struct TPrinterMetrics {
    int HorzRes = 0;
    int VertRes = 0;
    int DpiX = 0;
    int DpiY = 0;
    int OffsetX = 0;
    int OffsetY = 0;

    bool operator==(const TPrinterMetrics&) const = default;
};

/// The metrics `printer` reports now.
TPrinterMetrics MetricsOf(const TPrinterDevice& printer);

/// Whole device pixels in `hundredthsMm` hundredths of a millimetre at
/// `dpi`, rounded down, computed exactly: a length never grows past the
/// paper's edge (215.9 mm at 300 dpi is exactly 2550, 210 mm is 2480).
int HundredthsMmToPixels(long long hundredthsMm, int dpi);

/// A printer that exists only as a description: a paper, the given
/// capabilities, and a name. Its jobs write PDF pages of that paper (to the
/// whole point, the unit in which Qt's PDF writer keeps page sizes) to
/// OutputFileName, with the canvas's origin at the printable area (the
/// physical offsets from the paper's top-left corner) and one canvas unit
/// per device pixel in each direction, so the page lands where the
/// described printer would put it. The file appears only when the job ends
/// successfully, replacing any older one; an aborted or failed job leaves
/// the folder as it was.
class TVirtualPrinter : public TPrinterDevice {
public:
    /// A paper of exactly `paperMm`, never snapped to a nearby standard one.
    TVirtualPrinter(QString name, const TPrinterMetrics& metrics, const QSizeF& paperMm);
    ~TVirtualPrinter() override;

    /// The printer of `paper`: offsets of `margin` on every side, a page of
    /// the paper less twice the offsets, all in whole pixels at `dpi` by
    /// HundredthsMmToPixels. Lengths in hundredths of a millimetre.
    static TPrinterMetrics MetricsForPaper(int paperWidth, int paperHeight, int dpi, int margin);

    /// The file the next job writes. beginDoc raises EPrinter while it is empty.
    void setOutputFileName(const QString& fileName) { fileName_ = fileName; }
    QString outputFileName() const { return fileName_; }
    const TPrinterMetrics& metrics() const { return metrics_; }
    QSizeF paperMm() const { return paper_.size(QPageSize::Millimeter); }

    int caps(TDeviceCap cap) const override;
    QString name() const override { return name_; }
    void beginDoc() override;
    void newPage() override;
    void endDoc() override;
    void abort() noexcept override;
    bool printing() const override { return page_.Active(); }
    QPainter& canvas() override;

protected:
    /// The printer whose printable area is the whole of `paper`, at `dpi`
    /// in both directions: its canvas is the PDF writer's page as it comes.
    TVirtualPrinter(QString name, const QPageSize& paper, int dpi);

private:
    QString name_;
    TPrinterMetrics metrics_;
    QPageSize paper_;
    bool wholePaper_ = false;
    QString fileName_;
    TPdfPageFile page_;
};
