#pragma once
// Tenkora's side of CUPS, the print system that drives embossers on Linux: the queues there are,
// a BRF job sent to one of them, and what became of the job. Braille embosser drivers take BRF
// (application/vnd.cups-brf) as it is, so the job carries the option LibLouis=None: the book is
// braille already and must not be translated again.
//
// Every call opens its own connection to the server CUPS names (CUPS_SERVER, client.conf, else
// the local one) and may block for as long as the server takes: the window calls them off its
// thread. What fails comes back as a CupsFailure whose message() says it in Japanese.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace braille {

struct EmbosserQueue {
    std::string name;
    std::string info;         // the queue's description, as the administrator wrote it
    std::string makeAndModel; // the driver's name
    bool takesBrf = false;    // its driver accepts application/vnd.cups-brf
    bool offersBothSides = false; // its driver can emboss on both sides (interpoint)
    bool bothSidesByDefault = false;
    bool accepting = true;
    bool isDefault = false;   // the user's or the system's default destination
};

struct CupsFailure {
    enum Kind {
        None,
        NoServer,     // no CUPS server answers
        NoQueue,      // the server has no queue at all, or none was chosen
        UnknownQueue, // the named queue does not exist
        Refused,      // the server would not take the job
        Failed,       // the job was taken, then aborted, cancelled or stopped
        Canceled,     // the user stopped the sending
    };
    Kind kind = None;
    std::string queue;
    std::string detail; // what CUPS said, as it said it
    int jobId = 0;

    explicit operator bool() const { return kind != None; }
    // One line (or two) in Japanese for the user.
    std::string message() const;
};

struct QueueList {
    // The queues whose driver takes BRF first, then the others, each group by name.
    std::vector<EmbosserQueue> queues;
    CupsFailure failure;
    // The queue to propose: `preferred` when it is there, else the default one when it takes BRF,
    // else the first that takes BRF, else the first; empty when there are none.
    std::string proposal(std::string_view preferred) const;
    const EmbosserQueue* find(std::string_view name) const;
};

QueueList listEmbosserQueues();

struct JobOptions {
    std::string title = "Tenkora";
    // Only sent where the queue offers both sides: "sides" is then one-sided or two-sided;
    // otherwise the queue's default holds.
    bool offersBothSides = false;
    bool bothSides = false;
};

struct JobSubmission {
    int jobId = 0;
    CupsFailure failure;
};

// Sends `brf` as one job. `progress` hears how many bytes have gone and returns false to stop:
// the job is then cancelled and the failure is Canceled.
JobSubmission submitBrfJob(const std::string& queue, std::string_view brf, const JobOptions& options,
                           const std::function<bool(std::size_t sent, std::size_t total)>& progress = {});

struct JobStatus {
    enum State { Waiting, Processing, Completed, Failed, Unknown };
    State state = Unknown;
    std::string detail;  // the printer's or the job's last message, when there is one
    CupsFailure failure; // for Failed (the job's end), or why the state could not be asked
};

// Where the job is now. A job waiting on a stopped queue, or held for a retry because the backend
// could not send it, has failed as far as the user goes: nothing comes out now.
JobStatus embossJobStatus(const std::string& queue, int jobId);

} // namespace braille
