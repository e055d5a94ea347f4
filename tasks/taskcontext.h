#pragma once

#include "protocol/servernames.h"
#include "protocol/zkcrypt.h"

#include <functional>
#include <string>

namespace riz {

// What the task framework needs of the rest of the program: the server list with its port and
// proxy, a way to save them, the logged-in customer, the session's cipher, where to fetch the
// service-interruption notice, and the connection problem dialog. The program installs one
// backed by its parameters and tables; tests install their own.
class TTaskContext
{
public:
    virtual ~TTaskContext() = default;

    virtual TServerNames& Servers() = 0;
    virtual int HttpPort() const = 0;
    virtual TProxyInfo Proxy() const = 0;
    // Saves the server list (and the other parameters) after it changed.
    virtual void SaveParameters() = 0;
    virtual std::string InterruptionNoticeUrl() const = 0;

    virtual std::string LoginEmail() const = 0;
    virtual std::string LoginPassword() const = 0;
    // A newer client version announced by the service.
    virtual void StoreLatestVersion(const std::string& version) = 0;

    virtual const TZKCrypt& Crypt() const = 0;
    virtual double Now() const = 0;

    // The connection problem dialog: 1 retries, anything else gives up.
    virtual int ShowConnectionError(const std::string& errorText) = 0;

    // Marks the local tables before an answer is stored; the returned routine brings them back
    // to the mark when storing fails halfway, so that a later write cannot save half an answer.
    virtual std::function<void()> MarkTables() { return {}; }

    // Transport time-outs (parameters so that tests can shorten them).
    int AnswerTimeoutMs = 60000;
    int ConnectTimeoutMs = 11000;
    int RestartDelayMs = 200;
};

void SetTaskContext(TTaskContext* context);
TTaskContext& TaskContext(); // throws std::logic_error when none is installed

} // namespace riz
