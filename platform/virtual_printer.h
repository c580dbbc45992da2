#pragma once

#include "pdf_page_file.h"
#include "printer_device.h"

#include <QByteArray>
#include <QPageSize>
#include <QPainter>
#include <QSizeF>
#include <QString>


/// The six capabilities of a printer, as TPrinterDevice::Caps reports them.
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

    /// The file the next job writes. BeginDoc raises EPrinter while it is empty.
    void SetOutputFileName(const QString& fileName) { FFileName = fileName; }
    QString OutputFileName() const { return FFileName; }
    const TPrinterMetrics& Metrics() const { return FMetrics; }
    QSizeF PaperMm() const { return FPaper.size(QPageSize::Millimeter); }

    int Caps(TDeviceCap cap) const override;
    QString Name() const override { return FName; }
    void BeginDoc() override;
    void NewPage() override;
    void EndDoc() override;
    void Abort() noexcept override;
    bool Printing() const override { return FPage.Active(); }
    QPainter& Canvas() override;

protected:
    /// The printer whose printable area is the whole of `paper`, at `dpi`
    /// in both directions: its canvas is the PDF writer's page as it comes.
    TVirtualPrinter(QString name, const QPageSize& paper, int dpi);
    /// The printer of `paper` as it is given (a standard paper keeps its
    /// name and key) with the given capabilities.
    TVirtualPrinter(QString name, const TPrinterMetrics& metrics, const QPageSize& paper);

    const QPageSize& Paper() const { return FPaper; }
    /// Describes another paper of exactly `paperMm` from now on, as the
    /// public constructor does; EPrinter during a job.
    void Redescribe(const TPrinterMetrics& metrics, const QSizeF& paperMm);
    /// Starts a job as BeginDoc does, with its PDF in memory instead of a
    /// file, for a printer that hands the document on.
    void BeginInMemory();
    /// Completes a job that BeginInMemory started and hands over its PDF.
    QByteArray EndInMemory();

private:
    enum class TJobTarget { File, Memory };
    void startJob(TJobTarget target);

    QString FName;
    TPrinterMetrics FMetrics;
    QPageSize FPaper;
    bool FWholePaper = false;
    QString FFileName;
    TPdfPageFile FPage;
};
