// 2,000 SEND_SMS from 8 concurrent clients against one service on loopback; afterwards every
// credit charged and every part stored must add up exactly.

#include "tests/service/serviceclient.h"
#include "tests/support/serviceprocess.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <random>
#include <set>
#include <thread>

namespace riz::test {
namespace {

constexpr int kClients = 8;
constexpr int kRequests = 2000;
constexpr int kCustomers = 4;
constexpr int kStartCredits = 1000000;

struct Outcome
{
    std::map<std::string, long long> Charged; // by customer
    std::map<std::string, long long> Parts;
    std::set<std::string> QueueIds;
    int Answered = 0;
    int Failed = 0;
};

TEST(ServiceLoad, TwoThousandConcurrentSendsAddUpExactly)
{
    ServiceProcess service;
    ASSERT_TRUE(service.Running()) << service.Error();
    std::vector<std::string> customers;
    {
        ServiceClient setup(service.Host(), service.Port());
        for (int i = 0; i < kCustomers; ++i) {
            const std::string email = "load" + std::to_string(i) + "@example.org";
            ASSERT_GT(setup.Register(email, "geheim"), 0);
            service.Confirm(email);
            service.SetCredits(email, kStartCredits);
            customers.push_back(email);
        }
    }

    Outcome total;
    std::mutex totalMutex;
    std::atomic<int> next{0};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    std::vector<std::thread> threads;
    for (int t = 0; t < kClients; ++t) {
        threads.emplace_back([&, t] {
            ServiceClient client(service.Host(), service.Port(), 1000 + t);
            std::mt19937 random(static_cast<unsigned>(t));
            Outcome mine;
            int n;
            while ((n = next.fetch_add(1)) < kRequests &&
                   std::chrono::steady_clock::now() < deadline) {
                const std::string& email = customers[static_cast<size_t>(n % kCustomers)];
                const int receivers = 1 + static_cast<int>(random() % 3);
                const int parts = 1 + static_cast<int>(random() % 2);
                std::vector<std::vector<std::string>> rows;
                for (int r = 0; r < receivers; ++r)
                    rows.push_back({std::to_string(r + 1),
                                    "+49172" + std::to_string(1000000 + (n * 3 + r) % 9000000)});
                // One refused receiver now and then: it must cost nothing.
                if (n % 7 == 0)
                    rows.push_back({"99", "+4930123456"});
                const std::string text(parts == 1 ? 100 : 250, static_cast<char>('a' + n % 26));
                auto r = client.Call(
                    "SEND_SMS",
                    {TCSParam::Text("sms_text", text), TCSParam::Text("sms_sender", "Last"),
                     TCSParam::Table("receivers",
                                     MakeTextTable({"receiver_id", "receiver_number"}, rows)),
                     TCSParam::Int("dont_split", 0), TCSParam::Int("free", 0)},
                    email, "geheim", "1.01");
                if (!r.Decoded || r.Rslt() != 0) {
                    ++mine.Failed;
                    continue;
                }
                ++mine.Answered;
                const auto queued = TableRows(r.Message, "sms_queue_ids", {"queue_ids"});
                long long partsStored = 0;
                for (const auto& q : queued) {
                    size_t start = 0;
                    for (size_t comma; (comma = q[0].find(',', start)) != std::string::npos;
                         start = comma + 1) {
                        mine.QueueIds.insert(q[0].substr(start, comma - start));
                        ++partsStored;
                    }
                }
                if (static_cast<int>(queued.size()) != receivers ||
                    partsStored != receivers * parts)
                    ++mine.Failed;
                mine.Charged[email] += 15LL * receivers * parts;
                mine.Parts[email] += partsStored;
            }
            std::lock_guard lock(totalMutex);
            total.Answered += mine.Answered;
            total.Failed += mine.Failed;
            for (const auto& [k, v] : mine.Charged)
                total.Charged[k] += v;
            for (const auto& [k, v] : mine.Parts)
                total.Parts[k] += v;
            const size_t before = total.QueueIds.size();
            total.QueueIds.insert(mine.QueueIds.begin(), mine.QueueIds.end());
            EXPECT_EQ(total.QueueIds.size(), before + mine.QueueIds.size())
                << "queue ids are unique";
        });
    }
    for (auto& t : threads)
        t.join();

    ASSERT_EQ(total.Answered, kRequests);
    EXPECT_EQ(total.Failed, 0);
    long long allParts = 0;
    for (const auto& email : customers) {
        EXPECT_EQ(service.Credits(email), kStartCredits - total.Charged[email]) << email;
        const auto rows = service.Query(
            "SELECT COUNT(*), COALESCE(SUM(m.charged), 0) FROM messages m JOIN customers c "
            "ON c.id = m.customer_id WHERE c.email = ?1",
            {email});
        EXPECT_EQ(std::stoll(rows[0][0]), total.Parts[email]) << email;
        EXPECT_EQ(std::stoll(rows[0][1]), total.Charged[email]) << email;
        const auto changes = service.Query(
            "SELECT COALESCE(SUM(x.change), 0), COUNT(*) FROM credit_changes x JOIN customers c "
            "ON c.id = x.customer_id WHERE c.email = ?1",
            {email});
        EXPECT_EQ(std::stoll(changes[0][0]), -total.Charged[email]) << email;
        EXPECT_EQ(std::stoll(changes[0][1]), kRequests / kCustomers) << email;
        allParts += total.Parts[email];
    }
    EXPECT_EQ(static_cast<long long>(total.QueueIds.size()), allParts);
    EXPECT_EQ(std::stoll(service.Query("SELECT COUNT(*) FROM phone_inbox")[0][0]), allParts);
    EXPECT_EQ(service.Requests("SEND_SMS").size(), static_cast<size_t>(kRequests));
}

} // namespace
} // namespace riz::test
