// riz-service: the reference service of RIZ Avivaze.

#include "service/httpserver.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <pthread.h>
#include <string>
#include <thread>
#include <unistd.h>

using namespace riz;
using namespace riz::service;

namespace {

const char* const kUsage =
    "Usage: riz-service --listen HOST:PORT --db FILE --key FILE [options]\n"
    "\n"
    "The reference service of RIZ Avivaze: answers every request of the client over HTTP.\n"
    "\n"
    "  --listen HOST:PORT        address to serve on; PORT 0 picks a free port. HOST must be a\n"
    "                            loopback address (127.x.y.z) unless --any-host is given.\n"
    "                            The bound address is printed as HOST:PORT on the first line\n"
    "                            of standard output.\n"
    "  --db FILE                 the service's SQLite database (created when missing)\n"
    "  --key FILE                the private key file (keys/dev-service.key for development)\n"
    "  --plain-answers           answer with header \"0000\" and the message in the clear\n"
    "  --server-list TEXT        the server list sent with --redirect (\"host;host*;\")\n"
    "  --redirect                answer every request with result 6 and --server-list\n"
    "  --latest-version V        send \"latest_version\" V in every successful answer\n"
    "  --seed                    fill an empty catalog with logos, ringtones and texts\n"
    "  --interruption-notice T   serve T as the service-interruption notice (404 without)\n"
    "  --free-sms-per-day N      sponsored SMS per customer and day (default 5)\n"
    "  --no-card-payments        refuse credit card purchases with result 95\n"
    "  --tick-ms N               period of the scheduler in milliseconds (default 1000)\n"
    "  --replay-window S         answer a request text that arrives again within S seconds\n"
    "                            (a resend after a lost answer) with its first answer instead\n"
    "                            of carrying it out twice (default 0: off)\n"
    "  --any-host                allow a non-loopback --listen address\n"
    "  --help                    show this text\n";

bool IsLoopbackHost(const std::string& host)
{
    return host.rfind("127.", 0) == 0 || host == "localhost";
}

int Fail(const std::string& message)
{
    std::cerr << "riz-service: " << message << "\n";
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    TServiceOptions options;
    std::string listen;
    bool anyHost = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc)
                return false;
            out = argv[++i];
            return true;
        };
        std::string number;
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        } else if (arg == "--listen") {
            if (!value(listen))
                return Fail("--listen needs HOST:PORT");
        } else if (arg == "--db") {
            if (!value(options.DbPath))
                return Fail("--db needs a file");
        } else if (arg == "--key") {
            if (!value(options.KeyPath))
                return Fail("--key needs a file");
        } else if (arg == "--plain-answers") {
            options.PlainAnswers = true;
        } else if (arg == "--server-list") {
            if (!value(options.ServerList))
                return Fail("--server-list needs a text");
        } else if (arg == "--redirect") {
            options.Redirect = true;
        } else if (arg == "--latest-version") {
            if (!value(options.LatestVersion))
                return Fail("--latest-version needs a version");
        } else if (arg == "--seed") {
            options.Seed = true;
        } else if (arg == "--interruption-notice") {
            if (!value(options.InterruptionNotice))
                return Fail("--interruption-notice needs a text");
        } else if (arg == "--free-sms-per-day") {
            if (!value(number))
                return Fail("--free-sms-per-day needs a number");
            options.FreeSmsPerDay = std::atoi(number.c_str());
        } else if (arg == "--no-card-payments") {
            options.CardPaymentsDisabled = true;
        } else if (arg == "--tick-ms") {
            if (!value(number))
                return Fail("--tick-ms needs a number");
            options.TickMs = std::atoi(number.c_str());
        } else if (arg == "--replay-window") {
            if (!value(number))
                return Fail("--replay-window needs seconds");
            options.ReplayWindowSeconds = std::max(0, std::atoi(number.c_str()));
        } else if (arg == "--any-host") {
            anyHost = true;
        } else {
            std::cerr << kUsage;
            return Fail("unknown option " + arg);
        }
    }
    if (listen.empty() || options.DbPath.empty() || options.KeyPath.empty()) {
        std::cerr << kUsage;
        return Fail("--listen, --db and --key are required");
    }
    if (options.Redirect && options.ServerList.empty())
        return Fail("--redirect needs --server-list");
    const size_t colon = listen.rfind(':');
    if (colon == std::string::npos)
        return Fail("--listen needs HOST:PORT");
    const std::string host = listen.substr(0, colon);
    const int port = std::atoi(listen.substr(colon + 1).c_str());
    if (port < 0 || port > 65535)
        return Fail("port out of range");
    if (!anyHost && !IsLoopbackHost(host))
        return Fail(host + " is not a loopback address; give --any-host to listen there");

    TZKPrivateKey key;
    std::string error;
    if (!key.Load(options.KeyPath, error))
        return Fail(error);

    // Signals are taken by one thread of their own, so that the workers never see them.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    try {
        TServiceCore core(options, std::move(key));
        TServiceHttp http(core);
        const int bound = http.Bind(host, port);
        if (bound <= 0)
            return Fail("cannot listen on " + listen);
        std::printf("%s:%d\n", host.c_str(), bound);
        std::fflush(stdout);

        std::atomic<bool> done{false};
        std::thread signalThread([&http, &done, signals] {
            int sig = 0;
            sigwait(&signals, &sig);
            // The server may not have started listening yet; keep asking until it stops.
            while (!done) {
                http.Stop();
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        });
        http.Run();
        done = true;
        pthread_kill(signalThread.native_handle(), SIGTERM);
        signalThread.join();
    } catch (const std::exception& e) {
        return Fail(e.what());
    }
    return 0;
}
