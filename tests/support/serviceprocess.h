#pragma once

#include <cstdint>
#include <string>
#include <sys/types.h>
#include <vector>

namespace riz::test {

// How to start a riz-service for a test.
struct ServiceOptions
{
    std::string Host = "127.0.0.1"; // any 127.x.y.z; failover tests use 127.0.0.2, ...
    int Port = 0;                   // 0: a free port; give one to share it across hosts
    bool Seed = true;               // catalog with logos, ringtones and texts
    bool PlainAnswers = false;
    bool Redirect = false;
    std::string ServerList; // with Redirect
    std::string LatestVersion;
    std::string InterruptionNotice;
    int TickMs = 100; // scheduler period; short so that timed work shows soon
    std::vector<std::string> ExtraArgs;
    std::string DbPath; // empty: a new database in a temporary folder
};

// A mail in the service's outbox.
struct OutboxMail
{
    std::string Recipient;
    std::string Subject;
    std::string Body;
    std::string Kind; // "registration", "password", "recommend", "event", "birthday"
    std::string Code; // the registration code or password it carries, if any
};

// An SMS on a simulated phone.
struct PhoneSms
{
    std::string Number; // "+49172..."
    std::string Sender;
    std::string Text;
    std::string Kind; // "sms", "logo", "sound", "event", "birthday", "welcome"
};

// A request as the service received it, decrypted.
struct LoggedRequest
{
    std::string Name; // "SEND_SMS"; empty when the envelope or message did not open
    std::string Email;
    int Result = 0;      // the "rslt" answered; -1 when the envelope did not open
    std::string Message; // the tagged message text
    std::string Error;
};

// Starts the built riz-service on a loopback address with a temporary database and the
// development key, waits until it answers, and stops it in the destructor. The state accessors
// read the service's database directly (it runs in WAL mode, so reading beside it is safe).
class ServiceProcess final
{
public:
    explicit ServiceProcess(ServiceOptions options = {});
    ~ServiceProcess();
    ServiceProcess(const ServiceProcess&) = delete;
    ServiceProcess& operator=(const ServiceProcess&) = delete;

    // False when the service did not come up; Error() tells why.
    bool Running() const { return m_pid > 0; }
    const std::string& Error() const { return m_error; }
    const std::string& Host() const { return m_host; }
    int Port() const { return m_port; }
    // "http://127.0.0.1:PORT"
    std::string BaseUrl() const;
    const std::string& DbPath() const { return m_dbPath; }
    // Stops the service (SIGTERM, then SIGKILL after 5 s); idempotent.
    void Stop();

    // The path of the riz-service binary of this build.
    static std::string BinaryPath();

    // State reads.
    std::vector<OutboxMail> Outbox(const std::string& recipient = {}) const;
    // The code of the newest registration mail to this address; empty when there is none.
    std::string RegistrationCode(const std::string& email) const;
    // Credits in tenths of a credit; -1 for an unknown address.
    int Credits(const std::string& email) const;
    std::int64_t CustomerId(const std::string& email) const;
    bool IsConfirmed(const std::string& email) const;
    std::vector<PhoneSms> PhoneInbox(const std::string& number) const;
    std::vector<LoggedRequest> Requests(const std::string& name = {}) const;
    // An unused code of the 0190 pool for "<0190-50>" or "<0190-200>".
    std::string UnusedCode(const std::string& paymentOption) const;

    // State changes for test set-ups.
    // A customer straight into the database, without registration mail; returns its id.
    std::int64_t CreateCustomer(const std::string& email, const std::string& password,
                                int credits = 0, bool confirmed = true) const;
    // Sets the balance without a statement row.
    void SetCredits(const std::string& email, int tenths) const;
    void Confirm(const std::string& email) const;

    // Any query on the service's database; every value as text.
    std::vector<std::vector<std::string>> Query(const std::string& sql,
                                                const std::vector<std::string>& args = {}) const;

private:
    std::string m_error;
    std::string m_host;
    int m_port = 0;
    std::string m_dbPath;
    pid_t m_pid = -1;
};

} // namespace riz::test
