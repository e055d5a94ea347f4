// Time from process start to the tray icon shown, and resident memory when idle in the tray,
// of riz-avivaze with 100,000 history rows and 5,000 contacts in its data folder, side by
// side with an empty Qt Widgets program that shows a tray icon.
//   bench_shell_start CLIENT ANCHOR [RUNS]   (run inside an X server with a tray, see
//   bench/shell_start.sh)
#include "data/appparam.h"
#include "data/datacollection.h"
#include "data/datamoduleaddresses.h"
#include "data/datamodulecust.h"
#include "data/datamodules.h"
#include "data/datamodulesms.h"
#include "platform/clock.h"
#include "platform/strings.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

void FillDataFolder(const std::string& home, int historyRows, int contacts)
{
    using namespace riz;
    TDataCollection folders(home);
    DataCollection = &folders;
    TAppParam params(home);
    AppParam = &params;
    params.SetOneUserProfileFinished(true);
    params.SetDefaultUser("anna@example.de");
    CreateDataModules(folders);
    OpenAllTables();
    const TDateTime now = riz::Clock::Now();

    // The profile the start logs in without a prompt.
    TClientDataSet& c = DataModuleCust->CDSCustomer;
    c.Append();
    c.FieldByName("CUSTOMER_ID").SetAsInteger(1);
    c.FieldByName("EMAIL_ADDRESS").SetAsString("anna@example.de");
    c.FieldByName("PASSWORD").SetAsString("geheim");
    c.FieldByName("REMEMBER_PASSWORD").SetAsBoolean(true);
    c.FieldByName("WELCOME_CREDIT_CODE_REDEEMED").SetAsBoolean(true);
    c.Post();
    DataModuleCust->CommitCustomerTables();

    TClientDataSet& h = DataModuleSMS->CDSSMSHistory;
    for (int i = 0; i < historyRows; ++i) {
        h.Append();
        h.FieldByName("CUSTOMER_ID").SetAsInteger(1);
        h.FieldByName("SMS_SENDER").SetAsString("Anna");
        h.FieldByName("RECEIVER").SetAsString("+4917" + std::to_string(10000000 + i % 5000) + ";");
        h.FieldByName("SMS_TEXT")
            .SetAsString("Hallo, wir treffen uns heute um " + std::to_string(i % 24) +
                         " Uhr am Bahnhof. Bis dann und liebe Gruesse!");
        h.FieldByName("SENT_DATE").SetAsDateTime(now - i / 100.0);
        h.FieldByName("QUEUE_IDS").SetAsString(std::to_string(900000 + i) + ";");
        h.FieldByName("TREE").SetAsString("Gesendete SMS;");
        h.Post();
    }
    DataModuleSMS->CommitMessageTables();

    DataModuleAddresses->CustomerId = 1;
    TClientDataSet& a = DataModuleAddresses->CDSAddressBook;
    for (int i = 0; i < contacts; ++i) {
        a.Append();
        a.FieldByName("NAME").SetAsString("Kontakt " + std::to_string(100000 + i));
        a.FieldByName("EMAIL_ADDRESS").SetAsString("k" + std::to_string(i) + "@example.org");
        a.FieldByName("CELL_PHONE").SetAsString("0171 " + std::to_string(1000000 + i));
        a.FieldByName("BIRTHDAY").SetAsDateTime(EncodeDate(1950 + i % 50, 1 + i % 12, 1 + i % 28));
        a.Post();
    }
    DataModuleAddresses->CommitAddressBook();

    DestroyDataModules();
    AppParam = nullptr;
    DataCollection = nullptr;
}

long ResidentKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

struct Run
{
    double startMs = -1;
    long idleKb = -1;
};

// Starts the program, waits for its "tray icon shown" line on stderr, lets it idle, reads
// its resident memory and ends it.
Run Measure(const std::string& program, const std::string& home, int idleMs)
{
    int pipeFd[2];
    if (pipe(pipeFd) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFd[1], 2);
    posix_spawn_file_actions_addclose(&actions, pipeFd[0]);
    setenv("RIZ_AVIVAZE_HOME", home.c_str(), 1);
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    pid_t pid = 0;
    const auto t0 = Clock::now();
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ) != 0) {
        std::fprintf(stderr, "cannot start %s\n", program.c_str());
        return {};
    }
    close(pipeFd[1]);
    Run run;
    std::string buffer;
    char chunk[4096];
    for (;;) {
        const ssize_t n = read(pipeFd[0], chunk, sizeof chunk);
        if (n <= 0)
            break;
        buffer.append(chunk, static_cast<size_t>(n));
        if (buffer.find("tray icon shown") != std::string::npos) {
            run.startMs = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
            break;
        }
    }
    // Keep draining the program's output while it idles.
    std::thread drain([fd = pipeFd[0]] {
        char c[4096];
        while (read(fd, c, sizeof c) > 0) {
        }
    });
    if (run.startMs >= 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(idleMs));
        run.idleKb = ResidentKb(pid);
    } else {
        std::fprintf(stderr, "%s ended without showing its tray icon:\n%s\n", program.c_str(),
                     buffer.c_str());
    }
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    drain.join();
    close(pipeFd[0]);
    return run;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s CLIENT ANCHOR [RUNS]\n", argv[0]);
        return 2;
    }
    const std::string client = argv[1];
    const std::string anchor = argv[2];
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    const int idleMs = 3000;

    char templ[] = "/tmp/riz-bench-start-XXXXXX";
    const std::string home = mkdtemp(templ);
    const auto f0 = Clock::now();
    FillDataFolder(home, 100000, 5000);
    std::printf("data folder %s: 100000 history rows, 5000 contacts (filled in %.1f s)\n",
                home.c_str(), std::chrono::duration<double>(Clock::now() - f0).count());

    struct Program
    {
        const char* name;
        std::string path;
        std::string home;
    };
    char emptyTempl[] = "/tmp/riz-bench-empty-XXXXXX";
    const std::string emptyHome = mkdtemp(emptyTempl);
    FillDataFolder(emptyHome, 0, 0); // a profile and nothing else
    const std::vector<Program> programs = {
        {"riz-avivaze, 100k history, 5k contacts", client, home},
        {"riz-avivaze, one profile, no messages", client, emptyHome},
        {"anchor: empty Qt Widgets tray program", anchor, emptyHome},
    };
    std::printf("%-42s %18s %18s\n", "program", "start to tray (ms)", "idle RSS (MiB)");
    for (const Program& p : programs) {
        std::vector<double> ms, mib;
        for (int i = 0; i < runs; ++i) {
            const Run r = Measure(p.path, p.home, idleMs);
            if (r.startMs < 0 || r.idleKb < 0)
                return 1;
            ms.push_back(r.startMs);
            mib.push_back(r.idleKb / 1024.0);
        }
        std::printf("%-42s %18.0f %18.1f\n", p.name, Median(ms), Median(mib));
    }
    std::printf("(medians of %d runs; idle memory read %d ms after the tray icon appeared)\n", runs,
                idleMs);
    std::string cleanup = "rm -rf '" + home + "' '" + emptyHome + "'";
    return std::system(cleanup.c_str()) == 0 ? 0 : 0;
}
