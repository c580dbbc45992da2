#include "cups_printer.h"

#include "cups_queue.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QRect>
#include <QStringList>

#include <algorithm>
#include <utility>

#include <cups/cups.h>

// How QPrinter in high resolution sets up a CUPS queue, as running it on
// queues of many descriptions shows: whatever paper, resolution and options
// the queue prefers, the paper is A4 (595 x 842 points), portrait, at
// 1200 dpi. Its margins are the queue's unprintable margins of A4 (those of
// the entry with margins where a borderless one is listed too; none when A4
// is not listed), each raised to at least 10 points. The page's rectangles
// in pixels come from whole points: each margin is rounded to the nearest
// point (a half point up), each edge then to the nearest pixel; the page is
// the paper less the margins, the offsets are the left and top margins. A4
// with 18 points at the sides and 24 at the ends is thus 9317 x 13233
// pixels at offsets 300 and 400; margins of 11.62, 11.73, 11.35 and 11.62
// points (left, top, right, bottom) count as 12, 12, 11 and 12.
//
// The scheduler tells margins in hundredths of a millimetre, which leaves
// two descriptions where the figures part: a margin just below a half point
// (12.49 points) cannot be told from the half point and rounds up; and a
// queue that lists no A4 but takes custom sizes within hardware margins
// gets those margins from QPrinter, and 10 points here.

namespace {

constexpr int kResolution = 1200;
constexpr int kLeastMarginPoints = 10;
constexpr const char* kA4 = "iso_a4_210x297mm";

struct TDestFree {
    void operator()(cups_dest_t* dest) const { cupsFreeDests(1, dest); }
};
struct TDestInfoFree {
    void operator()(cups_dinfo_t* info) const { cupsFreeDestInfo(info); }
};
using TDest = std::unique_ptr<cups_dest_t, TDestFree>;
using TDestInfo = std::unique_ptr<cups_dinfo_t, TDestInfoFree>;

// A margin the scheduler gives in hundredths of a millimetre, in the whole
// points it is rounded to. The scheduler made the hundredths from the
// printer description's points, to the nearest one; so the hundredth that
// a half point comes to stands for that half point, which rounds up.
int wholePoints(int hundredths)
{
    if (hundredths <= 0)
        return 0;
    const int points = (hundredths * 72 + 1270) / 2540;
    const int halfPointAbove = ((2 * points + 1) * 1270 + 36) / 72;
    return hundredths >= halfPointAbove ? points + 1 : points;
}

// The queue's unprintable margins of A4 in hundredths of a millimetre,
// all 0 when it does not list A4 or cannot say.
QMargins a4MarginsOf(cups_dest_t* dest)
{
    const TDestInfo info(cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest));
    cups_size_t size{};
    if (!info
        || !cupsGetDestMediaByName(CUPS_HTTP_DEFAULT, dest, info.get(), kA4,
                                   CUPS_MEDIA_FLAGS_DEFAULT, &size)) {
        return {};
    }
    return {size.left, size.top, size.right, size.bottom};
}

TPrinterMetrics metricsOf(cups_dest_t* dest)
{
    const QMargins hundredths = a4MarginsOf(dest);
    const auto points = [](int margin) {
        return static_cast<qreal>(std::max(kLeastMarginPoints, wholePoints(margin)));
    };
    const QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                             QMarginsF(points(hundredths.left()), points(hundredths.top()),
                                       points(hundredths.right()), points(hundredths.bottom())),
                             QPageLayout::Point);
    const QRect paper = layout.fullRectPixels(kResolution);
    const QRect page = layout.paintRectPixels(kResolution);
    return {page.width(),
            page.height(),
            kResolution,
            kResolution,
            page.left() - paper.left(),
            page.top() - paper.top()};
}

}  // namespace

TCupsPrinter::TCupsPrinter(QString name, const TPrinterMetrics& metrics)
    : TVirtualPrinter(std::move(name), metrics, QPageSize(QPageSize::A4))
{
}

std::unique_ptr<TCupsPrinter> TCupsPrinter::Named(const QString& name)
{
    const QByteArray queue = name.toUtf8();
    const TDest dest(cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.constData(), nullptr));
    if (!dest)
        return nullptr;
    // The scheduler finds a queue whatever the case of its name; the
    // printer keeps the name as it was asked for, as QPrinter does.
    return describe(name, dest.get());
}

std::unique_ptr<TCupsPrinter> TCupsPrinter::SystemDefault()
{
    if (const TDest dest{cupsGetNamedDest(CUPS_HTTP_DEFAULT, nullptr, nullptr)})
        return describe(QString::fromUtf8(dest->name), dest.get());
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    std::unique_ptr<TCupsPrinter> first =
        count > 0 ? describe(QString::fromUtf8(dests[0].name), dests) : nullptr;
    cupsFreeDests(count, dests);
    return first;
}

std::unique_ptr<TCupsPrinter> TCupsPrinter::describe(const QString& name, cups_dest_t* dest)
{
    return std::unique_ptr<TCupsPrinter>(new TCupsPrinter(name, metricsOf(dest)));
}

void TCupsPrinter::BeginDoc()
{
    if (Printing())
        throw EPrinter(QStringLiteral("Printing in progress"));
    // A queue that would refuse the page is reported before anything is drawn.
    TCupsQueue(Name()).CheckReady();
    BeginInMemory();
}

void TCupsPrinter::EndDoc()
{
    const QByteArray pdf = EndInMemory();
    FJobId = TCupsQueue(Name()).SubmitPdf(pdf, {QStringLiteral("media=") + Paper().key()}, JobTitle());
}
