// Local table costs side by side with their anchors:
//  - opening a 100,000-row history file against a plain SQLite SELECT of the same rows into
//    structs (target: within 1.5 times);
//  - writing after appending one row, for tables of 1,000 / 10,000 / 100,000 rows (target:
//    under 5 ms and independent of the table's size);
//    Anchor: one 4 KiB write with fsync in the same folder, the floor of any durable write;
//  - writing all 100,000 rows;
//  - resident memory per 100,000 history rows.
#include "data/clientdataset.h"
#include "data/datasetutils.h"
#include "data/tablefile.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

using namespace riz;

namespace {

const std::string& BenchDir()
{
    static const std::string dir = [] {
        std::string templ = (std::filesystem::temp_directory_path() / "riz-bench-XXXXXX").string();
        if (!mkdtemp(templ.data()))
            std::abort();
        return templ;
    }();
    return dir;
}

TFieldDefs HistoryFields()
{
    return {IntField("CUSTOMER_ID"), StrField("SMS_SENDER", 140), MemoField("RECEIVER"),
            MemoField("SMS_TEXT"),   DateTimeField("SENT_DATE"),  MemoField("QUEUE_IDS"),
            MemoField("TREE")};
}

void AppendHistoryRow(TClientDataSet& ds, int i)
{
    ds.Append();
    ds.FieldByName("CUSTOMER_ID").SetAsInteger(1 + i % 3);
    ds.FieldByName("SMS_SENDER").SetAsString("Anna M\xfcller");
    ds.FieldByName("RECEIVER").SetAsString("+49172" + std::to_string(5550000 + i));
    ds.FieldByName("SMS_TEXT")
        .SetAsString("Hallo, wir treffen uns um " + std::to_string(i % 24) +
                     " Uhr am Bahnhof. Bitte bring die Karten mit! Gr\xfc\xdf"
                     "e");
    ds.FieldByName("SENT_DATE").SetAsDateTime(37000.0 + i / 100.0);
    ds.FieldByName("QUEUE_IDS").SetAsString(std::to_string(900000 + i) + ",");
    ds.FieldByName("TREE").SetAsString("Gesendete SMS;");
    ds.Post();
}

// A history file of n rows, written once per size.
std::string HistoryFile(int n)
{
    const std::string path = BenchDir() + "/sms_history." + std::to_string(n) + ".cds";
    if (!std::filesystem::exists(path)) {
        TClientDataSet ds("CDSSMSHistory");
        ds.FieldDefs = HistoryFields();
        ds.CreateDataSet();
        for (int i = 0; i < n; ++i)
            AppendHistoryRow(ds, i);
        ds.SaveToFile(path);
    }
    return path;
}

struct PlainHistoryRow
{
    int customerId = 0;
    std::string sender, receiver, text;
    double sentDate = 0;
    std::string queueIds, tree;
};

std::string Column(sqlite3_stmt* st, int i)
{
    const void* p = sqlite3_column_blob(st, i);
    return std::string(static_cast<const char*>(p), p ? sqlite3_column_bytes(st, i) : 0);
}

// The anchor: the same rows of the same file into plain structs.
std::vector<PlainHistoryRow> PlainSelect(const std::string& path)
{
    sqlite3* db = nullptr;
    // Without SQLite's own locking, as the table file opens its connections.
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "SELECT id, c0, c1, c2, c3, c4, c5, c6 FROM t ORDER BY id", -1, &st,
                       nullptr);
    std::vector<PlainHistoryRow> rows;
    while (sqlite3_step(st) == SQLITE_ROW) {
        PlainHistoryRow r;
        r.customerId = sqlite3_column_int(st, 1);
        r.sender = Column(st, 2);
        r.receiver = Column(st, 3);
        r.text = Column(st, 4);
        r.sentDate = sqlite3_column_double(st, 5);
        r.queueIds = Column(st, 6);
        r.tree = Column(st, 7);
        rows.push_back(std::move(r));
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return rows;
}

void BM_PlainSelect100k(benchmark::State& state)
{
    const std::string path = HistoryFile(100000);
    for (auto _ : state) {
        auto rows = PlainSelect(path);
        benchmark::DoNotOptimize(rows.data());
    }
}
BENCHMARK(BM_PlainSelect100k)->Unit(benchmark::kMillisecond);

void BM_OpenHistory100k(benchmark::State& state)
{
    const std::string path = HistoryFile(100000);
    for (auto _ : state) {
        TClientDataSet ds("CDSSMSHistory");
        ds.LoadFromFile(path);
        benchmark::DoNotOptimize(ds.RecordCount());
    }
}
BENCHMARK(BM_OpenHistory100k)->Unit(benchmark::kMillisecond);

void BM_WriteAfterAppendingOneRow(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const std::string path = BenchDir() + "/append." + std::to_string(n) + ".cds";
    std::filesystem::copy_file(HistoryFile(n), path,
                               std::filesystem::copy_options::overwrite_existing);
    TClientDataSet ds("CDSSMSHistory");
    ds.LoadFromFile(path);
    int i = n;
    for (auto _ : state) {
        state.PauseTiming();
        AppendHistoryRow(ds, i++);
        state.ResumeTiming();
        ds.SaveToFile(path);
    }
}
BENCHMARK(BM_WriteAfterAppendingOneRow)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

void BM_WriteAll100k(benchmark::State& state)
{
    const std::string path = BenchDir() + "/whole.cds";
    TClientDataSet ds("CDSSMSHistory");
    ds.LoadFromFile(HistoryFile(100000));
    for (auto _ : state) {
        ds.ForgetFile();
        ds.SaveToFile(path);
    }
}
BENCHMARK(BM_WriteAll100k)->Unit(benchmark::kMillisecond);

// The anchor of the one-row write: what the disk takes to make 4 KiB durable.
void SyncOnePage(const std::string& path)
{
    static const std::string page(4096, 'x');
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT, 0600);
    if (fd < 0 || ::pwrite(fd, page.data(), page.size(), 0) != static_cast<ssize_t>(page.size()))
        std::abort();
    ::fsync(fd);
    ::close(fd);
}

void BM_Fsync4KiB(benchmark::State& state)
{
    const std::string path = BenchDir() + "/fsync.bin";
    for (auto _ : state)
        SyncOnePage(path);
}
BENCHMARK(BM_Fsync4KiB)->Unit(benchmark::kMillisecond);

// What a history download does first: delete every row of one profile (a third of the rows).
void BM_DeleteOneProfileOf100k(benchmark::State& state)
{
    const std::string path = HistoryFile(100000);
    for (auto _ : state) {
        state.PauseTiming();
        auto ds = std::make_unique<TClientDataSet>("CDSSMSHistory");
        ds->LoadFromFile(path);
        ds->SetFilter(FieldEquals("CUSTOMER_ID", 2));
        state.ResumeTiming();
        DeleteAllRows(*ds);
        state.PauseTiming();
        ds.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DeleteOneProfileOf100k)->Unit(benchmark::kMillisecond);

// The same deletion taken back to a savepoint, as a download that fails halfway does.
void BM_RollBackDeletedProfileOf100k(benchmark::State& state)
{
    const std::string path = HistoryFile(100000);
    for (auto _ : state) {
        state.PauseTiming();
        auto ds = std::make_unique<TClientDataSet>("CDSSMSHistory");
        ds->LoadFromFile(path);
        ds->SetFilter(FieldEquals("CUSTOMER_ID", 2));
        const auto point = ds->SavePoint();
        DeleteAllRows(*ds);
        state.ResumeTiming();
        ds->RollbackTo(point);
        state.PauseTiming();
        ds.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_RollBackDeletedProfileOf100k)->Unit(benchmark::kMillisecond);

long ResidentKiB()
{
    std::ifstream in("/proc/self/statm");
    long size = 0, resident = 0;
    in >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

template <typename F> double MedianMs(int runs, F&& f)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        f();
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                .count());
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

// The figures once more, side by side with their targets.
void PrintSummary()
{
    const std::string path = HistoryFile(100000);
    const double select = MedianMs(7, [&] { benchmark::DoNotOptimize(PlainSelect(path).size()); });
    const double open = MedianMs(7, [&] {
        TClientDataSet ds("CDSSMSHistory");
        ds.LoadFromFile(path);
    });
    std::printf("\nopen 100,000-row history: %.1f ms; plain SELECT into structs: %.1f ms; "
                "ratio %.2f (target <= 1.50)\n",
                open, select, open / select);

    const double fsyncMs = MedianMs(21, [] { SyncOnePage(BenchDir() + "/fsync.bin"); });
    std::printf("anchor: one 4 KiB write with fsync: median %.2f ms\n", fsyncMs);
    for (int n : {1000, 10000, 100000}) {
        const std::string copy = BenchDir() + "/summary." + std::to_string(n) + ".cds";
        std::filesystem::copy_file(HistoryFile(n), copy,
                                   std::filesystem::copy_options::overwrite_existing);
        TClientDataSet ds("CDSSMSHistory");
        ds.LoadFromFile(copy);
        int i = n;
        std::vector<double> ms;
        for (int k = 0; k < 21; ++k) {
            AppendHistoryRow(ds, i++);
            ms.push_back(MedianMs(1, [&] { ds.SaveToFile(copy); }));
        }
        std::sort(ms.begin(), ms.end());
        std::printf("write after appending one row to %6d rows: median %.2f ms (target < 5 ms, "
                    "same for every size)\n",
                    n, ms[ms.size() / 2]);
    }

    TClientDataSet all("CDSSMSHistory");
    all.LoadFromFile(path);
    const double whole = MedianMs(3, [&] {
        all.ForgetFile();
        all.SaveToFile(BenchDir() + "/summary-whole.cds");
    });
    std::printf("write all 100,000 rows: %.1f ms\n", whole);

    const long before = ResidentKiB();
    {
        auto plain = PlainSelect(path);
        std::printf("resident memory per 100,000 rows: plain structs %.1f MiB",
                    (ResidentKiB() - before) / 1024.0);
    }
    const long beforeTable = ResidentKiB();
    TClientDataSet ds("CDSSMSHistory");
    ds.LoadFromFile(path);
    std::printf(", table %.1f MiB\n", (ResidentKiB() - beforeTable) / 1024.0);
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    PrintSummary();
    benchmark::Shutdown();
    std::error_code ec;
    std::filesystem::remove_all(BenchDir(), ec);
    return 0;
}
