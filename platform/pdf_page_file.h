#pragma once

#include <QByteArray>
#include <QPainter>
#include <QString>

#include <memory>

class QBuffer;
class QIODevice;
class QPageLayout;
class QPdfWriter;
class QSaveFile;

/// A PDF of one or more pages being written to a file: painted into a
/// temporary file beside the target, which replaces the target only when
/// the document is complete. Discarding it (or an error) leaves the folder
/// as it was. A document for a print queue is written in memory instead.
class TPdfPageFile {
public:
    TPdfPageFile();
    ~TPdfPageFile();
    TPdfPageFile(const TPdfPageFile&) = delete;
    TPdfPageFile& operator=(const TPdfPageFile&) = delete;

    /// Opens the page of `layout` at `resolution` dots per inch for painting;
    /// its painter's origin is the paper's top-left corner. Raises EPrinter
    /// when the file cannot be created or the page cannot be started
    /// (`printerName` names the printer in that message).
    /// `title` becomes the document's title.
    QPainter& Begin(const QString& fileName, const QPageLayout& layout, int resolution,
                    const QString& printerName, const QString& title = {});
    /// Opens the page as Begin does, with the document in memory; End
    /// completes it there for TakeDocument.
    QPainter& BeginInMemory(const QPageLayout& layout, int resolution, const QString& printerName,
                            const QString& title = {});
    /// Closes the page painted so far and starts another of the same layout;
    /// the painter keeps its transformation. Raises EPrinter when the page
    /// cannot be started or none is being written.
    void NewPage();
    /// Completes the document and puts the file in place. Raises EPrinter with
    /// the system's reason when it cannot be written; the page is over either way.
    void End();
    /// Hands over the document that End completed in memory; empty when
    /// there is none.
    QByteArray TakeDocument();
    /// Drops the page being written, if any. Never raises.
    void Discard() noexcept;

    bool Active() const { return FPainter.isActive(); }
    QPainter& Painter() { return FPainter; }

private:
    QPainter& startWriter(QIODevice* target, const QPageLayout& layout, int resolution,
                          const QString& printerName, const QString& title);

    QString FFileName;
    QString FPrinterName;
    std::unique_ptr<QSaveFile> FFile;
    QByteArray FDocument;
    std::unique_ptr<QBuffer> FBuffer;
    std::unique_ptr<QPdfWriter> FWriter;
    QPainter FPainter;
};
