// Loading the message history: an answer of 100,000 parts (10,000 messages of 10 parts, rows
// shuffled so that later parts often come before their first part), side by side with its
// anchor, decoding the same answer alone (TCSDataString::Decode + AsTable).
//  - chains: the messages built from the decoded table;
//  - load: the task's storing routine on the decoded answer (chains, the history rows in the
//    in-memory tables, folders rebuilt); then the same with the decoding;
//  - store: decoding, loading and writing the table files;
//  - the plain search from the top of the answer for every next part (quadratic), at the
//    sizes it finishes in, beside the indexed build at the same sizes.
#include "data/datamodulecust.h"
#include "data/datamodulesms.h"
#include "protocol/csdatastring.h"
#include "protocol/cstable.h"
#include "tasks/comtaskloadsmshistory.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

using namespace riz;

namespace {

constexpr int kMessages = 10000;
constexpr int kPartsPerMessage = 10;

TCSTable HistoryTable(int messages, int parts)
{
    struct Row
    {
        std::string id, next, text;
        int message;
    };
    std::vector<Row> rows;
    std::int64_t id = 1000000;
    for (int m = 0; m < messages; ++m) {
        for (int p = 0; p < parts; ++p, ++id)
            rows.push_back({std::to_string(id), p + 1 < parts ? std::to_string(id + 1) : "",
                            "Teil " + std::to_string(p + 1) + " der Nachricht " +
                                std::to_string(m) +
                                ": Wir treffen uns um acht am Bahnhof <Gleis 3> \\o/",
                            m});
    }
    std::mt19937 random(20261211);
    for (std::size_t i = rows.size(); i > 1; --i)
        std::swap(rows[i - 1], rows[random() % i]);

    TCSTable t;
    const char* names[] = {"queue_id", "next_queue_id", "text", "sender",
                           "receiver", "sms_type",      "tree", "sent_date"};
    t.SetColumnCount(8);
    for (int i = 0; i < 8; ++i)
        t.ColumnName(i) = names[i];
    for (const Row& r : rows) {
        t.AddRow();
        t.CurrentCell(0).SetString(r.id);
        t.CurrentCell(1).SetString(r.next);
        t.CurrentCell(2).SetString(r.text);
        t.CurrentCell(3).SetString("Anna");
        t.CurrentCell(4).SetString("+4917212" + std::to_string(r.message % 100000));
        t.CurrentCell(5).SetString(r.message % 20 ? "sms" : "logo");
        t.CurrentCell(6).SetString(r.message % 7 ? "" : "Privat;Familie;");
        t.CurrentCell(7).SetDateTime(46000.25 + r.message * 0.001);
    }
    return t;
}

std::string AnswerText(int messages, int parts)
{
    TCSDataString m;
    m.Type = "ANSW";
    m.AddParam(TCSParam::Int("rslt", 0));
    m.AddParam(TCSParam::Table("history", HistoryTable(messages, parts)));
    return m.Encode();
}

const std::string& FullAnswer()
{
    static const std::string text = AnswerText(kMessages, kPartsPerMessage);
    return text;
}

TCSTable Decode(const std::string& text)
{
    TCSDataString answer;
    answer.Decode(text);
    return answer.GetParam("history").AsTable();
}

// The data modules in a folder of their own, with the history tables open and empty.
struct Modules
{
    Modules()
        : dir(std::filesystem::temp_directory_path() /
              ("riz-bench-history-" + std::to_string(::getpid()))),
          cust((std::filesystem::create_directories(dir), dir.string())),
          sms(dir.string(), dir.string(), cust)
    {
        DataModuleCust = &cust;
        DataModuleSMS = &sms;
        for (TClientDataSet* t : {&sms.CDSSMSHistory, &sms.CDSSMSQueue, &sms.CDSTree})
            t->CreateDataSet();
    }
    ~Modules()
    {
        DataModuleSMS = nullptr;
        DataModuleCust = nullptr;
        std::filesystem::remove_all(dir);
    }
    std::filesystem::path dir;
    TDataModuleCust cust;
    TDataModuleSMS sms;
};

void BM_DecodeAlone(benchmark::State& state)
{
    const std::string& text = FullAnswer();
    for (auto _ : state) {
        TCSTable t = Decode(text);
        benchmark::DoNotOptimize(t.RowCount());
    }
    state.counters["parts"] = kMessages * kPartsPerMessage;
}

void BM_Chains(benchmark::State& state)
{
    const TCSTable table = Decode(FullAnswer());
    std::size_t messages = 0;
    for (auto _ : state) {
        messages = BuildHistoryMessages(table).size();
        benchmark::DoNotOptimize(messages);
    }
    state.counters["messages"] = static_cast<double>(messages);
}

// The task's storing routine on the decoded answer: chains, history rows, folders.
void BM_Load(benchmark::State& state)
{
    Modules modules;
    const TCSTable table = Decode(FullAnswer());
    for (auto _ : state) {
        StoreSMSHistory(table);
        state.PauseTiming();
        state.counters["rows"] = modules.sms.CDSSMSHistory.RecordCount();
        for (TClientDataSet* t : {&modules.sms.CDSSMSHistory, &modules.sms.CDSTree})
            t->CancelUpdates(); // empty again for the next round
        state.ResumeTiming();
    }
}

// What the task does with the answer text, short of writing the files.
void BM_DecodeAndLoad(benchmark::State& state)
{
    Modules modules;
    for (auto _ : state) {
        StoreSMSHistory(Decode(FullAnswer()));
        state.PauseTiming();
        for (TClientDataSet* t : {&modules.sms.CDSSMSHistory, &modules.sms.CDSTree})
            t->CancelUpdates();
        state.ResumeTiming();
    }
}

void BM_LoadAndStore(benchmark::State& state)
{
    Modules modules;
    for (auto _ : state) {
        // Each round replaces the history the round before wrote.
        StoreSMSHistory(Decode(FullAnswer()));
        modules.sms.CommitMessageTables();
    }
    state.counters["rows"] = modules.sms.CDSSMSHistory.RecordCount();
}

// The plain chain search: for every next id, a walk from the top of the answer.
std::size_t SearchFromTheTop(TCSTable& table)
{
    std::string seen;
    std::size_t messages = 0;
    for (std::int32_t i = 0; i < table.RowCount(); ++i) {
        const std::string id = table.Cell(i, 0).AsString();
        if (seen.rfind(id + ",", 0) == 0 || seen.find("," + id + ",") != std::string::npos)
            continue;
        std::string text = table.Cell(i, 2).AsString();
        std::string ids = id + ",";
        std::string next = table.Cell(i, 1).AsString();
        while (!next.empty()) {
            std::int32_t found = -1;
            for (std::int32_t j = 0; j < table.RowCount(); ++j) {
                if (table.Cell(j, 0).AsString() == next) {
                    found = j;
                    break;
                }
            }
            if (found < 0)
                break;
            text += " " + table.Cell(found, 2).AsString();
            ids += table.Cell(found, 0).AsString() + ",";
            next = table.Cell(found, 1).AsString();
        }
        seen += ids;
        ++messages;
    }
    return messages;
}

void BM_SearchFromTheTop(benchmark::State& state)
{
    TCSTable table = Decode(AnswerText(static_cast<int>(state.range(0)), kPartsPerMessage));
    for (auto _ : state)
        benchmark::DoNotOptimize(SearchFromTheTop(table));
    state.counters["parts"] = table.RowCount();
}

void BM_IndexedAtTheSameSize(benchmark::State& state)
{
    const TCSTable table = Decode(AnswerText(static_cast<int>(state.range(0)), kPartsPerMessage));
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildHistoryMessages(table).size());
    state.counters["parts"] = table.RowCount();
}

} // namespace

BENCHMARK(BM_DecodeAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Chains)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeAndLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadAndStore)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SearchFromTheTop)->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IndexedAtTheSameSize)->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
