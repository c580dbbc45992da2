#include "cups_queue.h"

#include <QStringList>

#include <algorithm>
#include <memory>
#include <utility>

#include <cups/cups.h>

namespace {

// How long a connection to the scheduler may take to open.
constexpr int kConnectMs = 15000;
// Printer states of IPP.
constexpr int kStateStopped = IPP_PSTATE_STOPPED;

struct THttpClose {
    void operator()(http_t* http) const { httpClose(http); }
};
struct TIppDelete {
    void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};
using THttp = std::unique_ptr<http_t, THttpClose>;
using TIpp = std::unique_ptr<ipp_t, TIppDelete>;

QString lastError()
{
    return QString::fromUtf8(cupsLastErrorString());
}

THttp connectTo(const QString& server, const QString& printer)
{
    const QByteArray host = server.isEmpty() ? QByteArray(cupsServer()) : server.toLocal8Bit();
    THttp http(httpConnect2(host.constData(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                            kConnectMs, nullptr));
    if (!http) {
        throw EPrinter(TQueueFailure::ServiceDown,
                       QStringLiteral("The printer \"%1\" cannot be reached: the print service "
                                      "(CUPS) at %2 is not running")
                           .arg(printer, QString::fromLocal8Bit(host)),
                       QString::fromLocal8Bit(host));
    }
    return http;
}

// The scheduler's description of the queue, or nothing when it has none.
TIpp printerAttributes(http_t* http, const QByteArray& name, const char* kind)
{
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                     "/%s/%s", kind, name.constData());
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    static const char* const wanted[] = {"printer-is-accepting-jobs", "printer-state",
                                         "printer-state-message"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  static_cast<int>(std::size(wanted)), nullptr, wanted);
    // cupsDoRequest takes the request over.
    TIpp response(cupsDoRequest(http, request, "/"));
    if (cupsLastError() > IPP_STATUS_OK_CONFLICTING)
        return nullptr;
    return response;
}

// The queue's own word on its state; empty when it has none.
QString stateReason(ipp_t* attributes)
{
    ipp_attribute_t* message = ippFindAttribute(attributes, "printer-state-message", IPP_TAG_TEXT);
    const char* text = message ? ippGetString(message, 0, nullptr) : nullptr;
    return text && *text ? QString::fromUtf8(text) : QString();
}

QString inBrackets(const QString& reason)
{
    return reason.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(reason);
}

void checkReady(http_t* http, const QString& printer)
{
    const QByteArray name = printer.toUtf8();
    TIpp attributes = printerAttributes(http, name, "printers");
    // A class of printers is a queue too.
    if (!attributes && cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND)
        attributes = printerAttributes(http, name, "classes");
    if (!attributes) {
        if (cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND)
            throw EPrinter(TQueueFailure::NoSuchQueue,
                           QStringLiteral("The printer \"%1\" does not exist (any more)").arg(printer));
        throw EPrinter(TQueueFailure::StateUnknown,
                       QStringLiteral("The printer \"%1\" cannot be asked for its state: %2").arg(printer, lastError()),
                       lastError());
    }
    ipp_attribute_t* accepting = ippFindAttribute(attributes.get(), "printer-is-accepting-jobs",
                                                  IPP_TAG_BOOLEAN);
    if (accepting && !ippGetBoolean(accepting, 0)) {
        const QString reason = stateReason(attributes.get());
        throw EPrinter(TQueueFailure::NotAccepting,
                       QStringLiteral("The printer \"%1\" is not accepting jobs%2").arg(printer, inBrackets(reason)),
                       reason);
    }
    ipp_attribute_t* state = ippFindAttribute(attributes.get(), "printer-state", IPP_TAG_ENUM);
    if (state && ippGetInteger(state, 0) == kStateStopped) {
        const QString reason = stateReason(attributes.get());
        throw EPrinter(TQueueFailure::Stopped,
                       QStringLiteral("The printer \"%1\" is stopped%2").arg(printer, inBrackets(reason)), reason);
    }
}

// The options of a job as the client library keeps them.
class TOptions {
public:
    explicit TOptions(const QStringList& options)
    {
        for (const QString& option : options) {
            const qsizetype equals = option.indexOf(QLatin1Char('='));
            if (equals <= 0)
                continue;
            count_ = cupsAddOption(option.left(equals).toUtf8().constData(),
                                   option.mid(equals + 1).toUtf8().constData(), count_, &options_);
        }
    }
    ~TOptions() { cupsFreeOptions(count_, options_); }
    TOptions(const TOptions&) = delete;
    TOptions& operator=(const TOptions&) = delete;

    int count() const { return count_; }
    cups_option_t* options() const { return options_; }

private:
    int count_ = 0;
    cups_option_t* options_ = nullptr;
};

}  // namespace

TCupsQueue::TCupsQueue(QString Name, QString Server)
    : FName(std::move(Name)), FServer(std::move(Server))
{
}

void TCupsQueue::CheckReady() const
{
    const THttp http = connectTo(FServer, FName);
    checkReady(http.get(), FName);
}

int TCupsQueue::SubmitPdf(const QByteArray& Pdf, const QStringList& Options, const QString& Title) const
{
    const THttp http = connectTo(FServer, FName);
    checkReady(http.get(), FName);

    const QByteArray name = FName.toUtf8();
    const TOptions options(Options);
    const QByteArray title = Title.toUtf8();
    const int job = cupsCreateJob(http.get(), name.constData(), Title.isEmpty() ? nullptr : title.constData(),
                                  options.count(), options.options());
    if (job <= 0) {
        throw EPrinter(TQueueFailure::JobRefused,
                       QStringLiteral("The printer \"%1\" refused the job: %2").arg(FName, lastError()), lastError());
    }
    const auto fail = [&](const QString& reason) {
        cupsCancelJob2(http.get(), name.constData(), job, 0);
        throw EPrinter(TQueueFailure::PageNotSent,
                       QStringLiteral("The page could not be sent to \"%1\": %2").arg(FName, reason), reason);
    };
    if (cupsStartDocument(http.get(), name.constData(), job, nullptr, CUPS_FORMAT_PDF, 1)
        != HTTP_STATUS_CONTINUE)
        fail(lastError());
    constexpr qsizetype kChunk = 1 << 16;
    for (qsizetype at = 0; at < Pdf.size(); at += kChunk) {
        const qsizetype n = std::min(kChunk, Pdf.size() - at);
        if (cupsWriteRequestData(http.get(), Pdf.constData() + at, static_cast<size_t>(n))
            != HTTP_STATUS_CONTINUE) {
            cupsFinishDocument(http.get(), name.constData());
            fail(lastError());
        }
    }
    if (cupsFinishDocument(http.get(), name.constData()) > IPP_STATUS_OK_CONFLICTING)
        fail(lastError());
    return job;
}
