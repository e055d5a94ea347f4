#pragma once

#include "protocol/serverenvelope.h"
#include "service/servicedb.h"
#include "service/serviceoptions.h"

#include <functional>
#include <mutex>
#include <string>

namespace riz::service {

// What the HTTP layer sends back for one request.
struct THttpReply
{
    int Status = 200;
    std::string Body;
    std::string ContentType = "text/plain";
};

// The service without its HTTP server: opens request envelopes, runs the request handlers over
// the database and builds the answers. Thread-safe: every database access holds one lock, so
// concurrent requests never interleave their reads and writes of balances and parts.
class TServiceCore final
{
public:
    TServiceCore(TServiceOptions options, TZKPrivateKey key);

    // The query value after "r=" (prefix and envelope) to the HTTP reply: 200 with header and
    // answer, or 400 for a request whose envelope does not open.
    THttpReply HandleRequestText(const std::string& requestText);
    // A decrypted request message to the answer message text; used behind the envelope and by
    // tests and the fuzz target.
    // With a replay key (set by HandleRequestText when the replay window is on), a request
    // answered before under the same key gets that answer again.
    std::string HandleMessage(const std::string& messageText, const std::string& replayKey = {});

    // Delivers due scheduled messages and reminders; the scheduler thread calls it.
    void RunScheduler(double now);

    // Runs f with the database under the lock (the admin pages, tests).
    void WithDb(const std::function<void(TServiceDb&)>& f);

    const TServiceOptions& Options() const { return m_options; }

    // The current local date-time, days since 1899-12-30.
    static double Now();

private:
    void LogRequest(double now, const std::string& name, const std::string& email, int result,
                    const std::string& message, const std::string& error);

    TServiceOptions m_options;
    TZKPrivateKey m_key;
    TZKServerEnvelope m_envelope;
    std::mutex m_mutex;
    TServiceDb m_db;
};

} // namespace riz::service
