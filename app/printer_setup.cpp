#include "printer_setup.h"

#include "printer.h"
#include "qt_printer.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSet>

#include <memory>
#include <optional>

namespace {

// The platform's print dialog starts its paper list at the queue's default
// paper whatever the printer holds, and confirming it without opening the
// printer's properties puts that default back. The paper the user chose
// last is therefore offered when the properties open, and put back when
// they were not opened.
class TKeptPaper : public QObject {
public:
    TKeptPaper(QPrintDialog& dialog, const QPageSize& paper) : paper_(paper)
    {
        if (auto* properties = dialog.findChild<QPushButton*>(QStringLiteral("properties")))
            QObject::connect(properties, &QPushButton::clicked, this, [this] { opened_ = true; });
        qApp->installEventFilter(this);
    }
    ~TKeptPaper() override { qApp->removeEventFilter(this); }

    bool propertiesOpened() const { return opened_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Each properties window the dialog makes (one per printer chosen)
        // starts at the kept paper the first time it shows.
        if (event->type() == QEvent::Show && watched->isWidgetType() && !prepared_.contains(watched)) {
            if (auto* sizes = watched->findChild<QComboBox*>(QStringLiteral("pageSizeCombo"))) {
                prepared_.insert(watched);
                const int index = sizes->findText(paper_.name());
                if (index >= 0)
                    sizes->setCurrentIndex(index);
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPageSize paper_;
    bool opened_ = false;
    QSet<QObject*> prepared_;
};

// The chosen printer's own paper of the same size as `paper`, if it has
// one: the same entry when it lists several of one size.
std::optional<QPageSize> paperOfPrinter(const QString& printer, const QPageSize& paper)
{
    const QList<QPageSize> sizes = QPrinterInfo::printerInfo(printer).supportedPageSizes();
    for (const QPageSize& size : sizes) {
        if (size.key() == paper.key())
            return size;
    }
    for (const QPageSize& size : sizes) {
        if (size.isEquivalentTo(paper))
            return size;
    }
    return std::nullopt;
}

}  // namespace

bool RunPrintDialog(QWidget* Parent)
{
    // An installed printer is set up in place; the built-in PDF printer has
    // no QPrinter, so the dialog starts from a fresh one and whatever the
    // user confirms replaces it.
    auto* installed = dynamic_cast<TQtPrinter*>(&Printer());
    std::unique_ptr<QPrinter> fresh;
    if (!installed)
        fresh = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrinter& device = installed ? installed->Device() : *fresh;

    const QPageLayout kept = device.pageLayout();
    QPrintDialog dialog(&device, Parent);
    TKeptPaper keeper(dialog, kept.pageSize());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    if (installed && !keeper.propertiesOpened() && device.outputFormat() == QPrinter::NativeFormat) {
        if (const auto paper = paperOfPrinter(device.printerName(), kept.pageSize()))
            device.setPageSize(*paper);
        device.setPageOrientation(kept.orientation());
    }
    if (fresh)
        SetPrinter(std::make_unique<TQtPrinter>(std::move(fresh)));
    return true;
}
