#include "CupsEmbosser.h"

#include <cups/cups.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

namespace braille {

namespace {

constexpr const char* kBrf = "application/vnd.cups-brf";
constexpr int kConnectMs = 10000;
constexpr std::size_t kChunk = 64 * 1024;

struct HttpClose {
    void operator()(http_t* http) const { httpClose(http); }
};
using Connection = std::unique_ptr<http_t, HttpClose>;

struct IppDelete {
    void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};
using Ipp = std::unique_ptr<ipp_t, IppDelete>;

// A connection of the caller's own: libcups keeps its default connection per thread, and a
// connection of our own also lets a failure to connect be told apart from a refusal.
Connection connectToServer(CupsFailure& failure)
{
    // libcups remembers the server per thread; the threads of a pool live on, so the server is
    // read again (CUPS_SERVER, client.conf) for every connection.
    cupsSetServer(nullptr);
    errno = 0;
    Connection http(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, kConnectMs, nullptr));
    if (!http) {
        failure.kind = CupsFailure::NoServer;
        failure.detail = std::string(cupsServer()) + ": " + (errno ? std::strerror(errno) : cupsLastErrorString());
    }
    return http;
}

std::string printerUri(const std::string& queue)
{
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(), "/printers/%s",
                     queue.c_str());
    return uri;
}

// A request about one queue, named by its URI on the server.
ipp_t* queueRequest(ipp_op_t operation, const std::string& queue)
{
    ipp_t* request = ippNewRequest(operation);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, printerUri(queue).c_str());
    return request;
}

bool succeeded(const Ipp& response)
{
    return response && ippGetStatusCode(response.get()) <= IPP_STATUS_OK_EVENTS_COMPLETE;
}

// What CUPS's last answer means for the user: a lost server, a missing queue, or a refusal.
CupsFailure lastFailure(const std::string& queue, CupsFailure::Kind otherwise)
{
    CupsFailure failure{otherwise, queue, cupsLastErrorString(), 0};
    switch (cupsLastError()) {
    case IPP_STATUS_ERROR_NOT_FOUND: failure.kind = CupsFailure::UnknownQueue; break;
    case IPP_STATUS_ERROR_SERVICE_UNAVAILABLE: failure.kind = CupsFailure::NoServer; break;
    default: break;
    }
    return failure;
}

bool hasValue(ipp_attribute_t* attribute, const char* value)
{
    for (int i = 0; attribute && i < ippGetCount(attribute); ++i)
        if (const char* v = ippGetString(attribute, i, nullptr); v && std::strcmp(v, value) == 0)
            return true;
    return false;
}

} // namespace

std::string CupsFailure::message() const
{
    const std::string name = "「" + queue + "」";
    switch (kind) {
    case None: return {};
    case NoServer:
        return "CUPS の印刷サーバーに接続できません（" + detail + "）。CUPS が動いているか確かめてください。";
    case NoQueue:
        return "CUPS にプリンタ（キュー）がありません。点字プリンタのキューを作ってから印刷してください。";
    case UnknownQueue: return "プリンタ" + name + "は CUPS にありません。";
    case Refused: return "プリンタ" + name + "は印刷を受け付けませんでした（" + detail + "）。";
    case Failed:
        return "プリンタ" + name + "のジョブ " + std::to_string(jobId) + " は印刷できませんでした（" + detail + "）。";
    case Canceled: return "印刷を取り消しました。";
    }
    return {};
}

std::string QueueList::proposal(std::string_view preferred) const
{
    if (const EmbosserQueue* q = find(preferred); q && !preferred.empty())
        return q->name;
    for (const EmbosserQueue& q : queues)
        if (q.isDefault && q.takesBrf)
            return q.name;
    // The list has the BRF queues first.
    return queues.empty() ? std::string() : queues.front().name;
}

const EmbosserQueue* QueueList::find(std::string_view name) const
{
    for (const EmbosserQueue& q : queues)
        if (q.name == name)
            return &q;
    return nullptr;
}

QueueList listEmbosserQueues()
{
    QueueList list;
    Connection http = connectToServer(list.failure);
    if (!http)
        return list;
    ipp_t* request = ippNewRequest(IPP_OP_CUPS_GET_PRINTERS);
    static const char* const wanted[] = {"printer-name",         "printer-info",     "printer-make-and-model",
                                         "document-format-supported", "sides-supported",  "sides-default",
                                         "printer-is-accepting-jobs"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", int(std::size(wanted)), nullptr,
                  wanted);
    Ipp response(cupsDoRequest(http.get(), request, "/"));
    // A server without queues answers "not found".
    if (cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND) {
        list.failure = {CupsFailure::NoQueue, {}, {}, 0};
        return list;
    }
    if (!succeeded(response)) {
        list.failure = lastFailure({}, CupsFailure::NoServer);
        return list;
    }
    const char* defaultName = cupsGetDefault2(http.get());
    EmbosserQueue queue;
    const auto finish = [&] {
        if (!queue.name.empty()) {
            queue.isDefault = defaultName && queue.name == defaultName;
            list.queues.push_back(queue);
        }
        queue = EmbosserQueue{};
    };
    for (ipp_attribute_t* a = ippFirstAttribute(response.get()); a; a = ippNextAttribute(response.get())) {
        if (ippGetGroupTag(a) != IPP_TAG_PRINTER) {
            finish(); // the attributes of one printer end at a separator
            continue;
        }
        const char* name = ippGetName(a);
        if (!name)
            continue;
        const std::string_view n = name;
        const char* text = ippGetString(a, 0, nullptr);
        if (n == "printer-name" && text)
            queue.name = text;
        else if (n == "printer-info" && text)
            queue.info = text;
        else if (n == "printer-make-and-model" && text)
            queue.makeAndModel = text;
        else if (n == "document-format-supported")
            queue.takesBrf = hasValue(a, kBrf);
        else if (n == "sides-supported")
            queue.offersBothSides = hasValue(a, "two-sided-long-edge");
        else if (n == "sides-default")
            queue.bothSidesByDefault = text && std::string_view(text).starts_with("two-sided");
        else if (n == "printer-is-accepting-jobs")
            queue.accepting = ippGetBoolean(a, 0) != 0;
    }
    finish();
    std::stable_sort(list.queues.begin(), list.queues.end(), [](const EmbosserQueue& a, const EmbosserQueue& b) {
        if (a.takesBrf != b.takesBrf)
            return a.takesBrf;
        return a.name < b.name;
    });
    if (list.queues.empty())
        list.failure = {CupsFailure::NoQueue, {}, {}, 0};
    return list;
}

JobSubmission submitBrfJob(const std::string& queue, std::string_view brf, const JobOptions& options,
                           const std::function<bool(std::size_t sent, std::size_t total)>& progress)
{
    JobSubmission result;
    if (queue.empty()) {
        result.failure = {CupsFailure::NoQueue, {}, {}, 0};
        return result;
    }
    Connection http = connectToServer(result.failure);
    if (!http)
        return result;
    // Asked first, so that a queue that is not there is told apart from one that refuses.
    ipp_t* request = queueRequest(IPP_OP_GET_PRINTER_ATTRIBUTES, queue);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "printer-name");
    if (!succeeded(Ipp(cupsDoRequest(http.get(), request, "/")))) {
        result.failure = lastFailure(queue, CupsFailure::Refused);
        return result;
    }
    cups_option_t* jobOptions = nullptr;
    int count = 0;
    // The book is braille already: the embosser's filter must not translate it again.
    count = cupsAddOption("LibLouis", "None", count, &jobOptions);
    if (options.offersBothSides)
        count = cupsAddOption("sides", options.bothSides ? "two-sided-long-edge" : "one-sided", count, &jobOptions);
    const int jobId = cupsCreateJob(http.get(), queue.c_str(), options.title.c_str(), count, jobOptions);
    cupsFreeOptions(count, jobOptions);
    if (jobId == 0) {
        result.failure = lastFailure(queue, CupsFailure::Refused);
        return result;
    }
    const auto giveUp = [&](CupsFailure failure) {
        failure.jobId = jobId;
        cupsCancelJob2(http.get(), queue.c_str(), jobId, 0);
        result.failure = std::move(failure);
        return result;
    };
    if (cupsStartDocument(http.get(), queue.c_str(), jobId, options.title.c_str(), kBrf, 1) != HTTP_STATUS_CONTINUE)
        return giveUp(lastFailure(queue, CupsFailure::Refused));
    for (std::size_t sent = 0; sent < brf.size();) {
        const std::size_t n = std::min(kChunk, brf.size() - sent);
        if (cupsWriteRequestData(http.get(), brf.data() + sent, n) != HTTP_STATUS_CONTINUE) {
            cupsFinishDocument(http.get(), queue.c_str());
            return giveUp(lastFailure(queue, CupsFailure::Refused));
        }
        sent += n;
        if (progress && !progress(sent, brf.size())) {
            cupsFinishDocument(http.get(), queue.c_str());
            return giveUp({CupsFailure::Canceled, queue, {}, 0});
        }
    }
    // The server checks the document (its format above all) once it has all of it.
    if (cupsFinishDocument(http.get(), queue.c_str()) > IPP_STATUS_OK_EVENTS_COMPLETE)
        return giveUp(lastFailure(queue, CupsFailure::Refused));
    // A stop asked for while the server was taking the last of it still withdraws the job: the
    // user was told it was cancelled and must not find it printed.
    if (progress && !progress(brf.size(), brf.size()))
        return giveUp({CupsFailure::Canceled, queue, {}, 0});
    result.jobId = jobId;
    return result;
}

JobStatus embossJobStatus(const std::string& queue, int jobId)
{
    JobStatus status;
    Connection http = connectToServer(status.failure);
    if (!http)
        return status;
    ipp_t* request = queueRequest(IPP_OP_GET_JOB_ATTRIBUTES, queue);
    ippAddInteger(request, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", jobId);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    static const char* const wanted[] = {"job-state", "job-state-reasons", "job-printer-state-message"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", int(std::size(wanted)), nullptr,
                  wanted);
    Ipp response(cupsDoRequest(http.get(), request, "/"));
    if (!succeeded(response)) {
        status.failure = lastFailure(queue, CupsFailure::Failed);
        status.failure.jobId = jobId;
        return status;
    }
    ipp_attribute_t* state = ippFindAttribute(response.get(), "job-state", IPP_TAG_ENUM);
    ipp_attribute_t* reasons = ippFindAttribute(response.get(), "job-state-reasons", IPP_TAG_KEYWORD);
    if (ipp_attribute_t* message = ippFindAttribute(response.get(), "job-printer-state-message", IPP_TAG_TEXT))
        if (const char* text = ippGetString(message, 0, nullptr))
            status.detail = text;
    const auto failed = [&](const char* why) {
        status.state = JobStatus::Failed;
        status.failure = {CupsFailure::Failed, queue, status.detail.empty() ? why : status.detail, jobId};
    };
    switch (state ? ippGetInteger(state, 0) : 0) {
    case IPP_JSTATE_PENDING:
    case IPP_JSTATE_HELD:
        status.state = JobStatus::Waiting;
        // A job CUPS could not hand to the embosser waits for a retry ("resources are not
        // ready") or for a stopped queue: either way nothing comes out now.
        if (hasValue(reasons, "printer-stopped"))
            failed("プリンタが停止しています");
        else if (hasValue(reasons, "resources-are-not-ready"))
            failed("プリンタに送れませんでした");
        break;
    case IPP_JSTATE_PROCESSING: status.state = JobStatus::Processing; break;
    case IPP_JSTATE_COMPLETED: status.state = JobStatus::Completed; break;
    case IPP_JSTATE_STOPPED: failed("ジョブが停止しました"); break;
    case IPP_JSTATE_CANCELED: failed("ジョブが取り消されました"); break;
    case IPP_JSTATE_ABORTED: failed("ジョブが中止されました"); break;
    default: status.state = JobStatus::Unknown; break;
    }
    return status;
}

} // namespace braille
