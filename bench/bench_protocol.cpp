// Protocol costs side by side with their anchors:
//  - a 10,000-row history answer as a tagged message against the same rows as JSON
//    (RapidJSON and nlohmann-json DOM parse and write);
//  - the cipher against OpenSSL's Blowfish ECB, the digest against OpenSSL's SHA-1;
//  - one whole request envelope.
#include "protocol/csdatastring.h"
#include "protocol/cstable.h"
#include "protocol/digest.h"
#include "protocol/servicekey.h"
#include "protocol/zkcrypt.h"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>
#include <openssl/blowfish.h>
#include <openssl/sha.h>
#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <string>
#include <vector>

using namespace riz;

namespace {

constexpr int kRows = 10000;

struct HistoryRow
{
    std::string queueId, nextQueueId, text, sender, receiver, smsType, tree, sentDate;
};

const std::vector<HistoryRow>& Rows()
{
    static std::vector<HistoryRow> rows = [] {
        std::vector<HistoryRow> r;
        r.reserve(kRows);
        for (int i = 0; i < kRows; ++i) {
            r.push_back({std::to_string(100000 + i), i % 3 == 2 ? "" : std::to_string(100001 + i),
                         "Hallo Anna, wir treffen uns um " + std::to_string(i % 24) +
                             " Uhr am Bahnhof. Bis gleich! <Gruss> \\o/",
                         "Max", "+491701234" + std::to_string(i % 1000), i % 7 ? "sms" : "logo",
                         i % 5 ? "" : "Privat;Freunde;", "2026-12-11 09:15:" + std::to_string(10 + i % 50)});
        }
        return r;
    }();
    return rows;
}

std::string TaggedAnswer()
{
    TCSTable t;
    t.SetColumnCount(8);
    const char* names[] = {"queue_id", "next_queue_id", "text", "sender", "receiver", "sms_type", "tree", "sent_date"};
    for (int i = 0; i < 8; ++i)
        t.ColumnName(i) = names[i];
    for (const HistoryRow& r : Rows()) {
        t.AddRow();
        t.CurrentCell(0).SetString(r.queueId);
        t.CurrentCell(1).SetString(r.nextQueueId);
        t.CurrentCell(2).SetString(r.text);
        t.CurrentCell(3).SetString(r.sender);
        t.CurrentCell(4).SetString(r.receiver);
        t.CurrentCell(5).SetString(r.smsType);
        t.CurrentCell(6).SetString(r.tree);
        t.CurrentCell(7).Value = r.sentDate;
    }
    TCSDataString m;
    m.AddParam(TCSParam("rslt", 0));
    m.AddParam(TCSParam("history", t));
    return m.Encode();
}

std::string JsonAnswer()
{
    nlohmann::json j;
    j["rslt"] = 0;
    auto& arr = j["history"] = nlohmann::json::array();
    for (const HistoryRow& r : Rows())
        arr.push_back({{"queue_id", r.queueId}, {"next_queue_id", r.nextQueueId}, {"text", r.text},
                       {"sender", r.sender}, {"receiver", r.receiver}, {"sms_type", r.smsType},
                       {"tree", r.tree}, {"sent_date", r.sentDate}});
    return j.dump();
}

// Decoding as a task reads it: the message, the table, every cell's value.
void BM_TaggedDecodeHistory(benchmark::State& state)
{
    const std::string text = TaggedAnswer();
    for (auto _ : state) {
        TCSDataString m;
        m.Decode(text);
        TCSTable t = m.GetParam("history").AsTable();
        size_t total = 0;
        t.First();
        for (int i = 0; i < t.RowCount(); ++i) {
            for (int c = 0; c < 8; ++c)
                total += t.CurrentCell(c).AsString().size();
            t.Next();
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_TaggedDecodeHistory)->Unit(benchmark::kMillisecond);

void BM_RapidJsonDomParseHistory(benchmark::State& state)
{
    const std::string text = JsonAnswer();
    for (auto _ : state) {
        rapidjson::Document d;
        d.Parse(text.c_str(), text.size());
        size_t total = 0;
        for (const auto& row : d["history"].GetArray())
            for (const auto& m : row.GetObject())
                total += m.value.GetStringLength();
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_RapidJsonDomParseHistory)->Unit(benchmark::kMillisecond);

void BM_NlohmannDomParseHistory(benchmark::State& state)
{
    const std::string text = JsonAnswer();
    for (auto _ : state) {
        auto j = nlohmann::json::parse(text);
        size_t total = 0;
        for (const auto& row : j["history"])
            for (const auto& v : row)
                total += v.get_ref<const std::string&>().size();
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_NlohmannDomParseHistory)->Unit(benchmark::kMillisecond);

void BM_TaggedEncodeHistory(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(TaggedAnswer());
}
BENCHMARK(BM_TaggedEncodeHistory)->Unit(benchmark::kMillisecond);

void BM_RapidJsonWriteHistory(benchmark::State& state)
{
    for (auto _ : state) {
        rapidjson::StringBuffer sb;
        rapidjson::Writer<rapidjson::StringBuffer> w(sb);
        w.StartObject();
        w.Key("rslt");
        w.Int(0);
        w.Key("history");
        w.StartArray();
        for (const HistoryRow& r : Rows()) {
            w.StartObject();
            const std::pair<const char*, const std::string*> f[] = {
                {"queue_id", &r.queueId}, {"next_queue_id", &r.nextQueueId}, {"text", &r.text},
                {"sender", &r.sender}, {"receiver", &r.receiver}, {"sms_type", &r.smsType},
                {"tree", &r.tree}, {"sent_date", &r.sentDate}};
            for (const auto& [k, v] : f) {
                w.Key(k);
                w.String(v->c_str(), static_cast<rapidjson::SizeType>(v->size()));
            }
            w.EndObject();
        }
        w.EndArray();
        w.EndObject();
        benchmark::DoNotOptimize(sb.GetString());
    }
}
BENCHMARK(BM_RapidJsonWriteHistory)->Unit(benchmark::kMillisecond);

void BM_NlohmannWriteHistory(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(JsonAnswer());
}
BENCHMARK(BM_NlohmannWriteHistory)->Unit(benchmark::kMillisecond);

constexpr size_t kCipherBytes = 64 * 1024;

void BM_CipherEncryptBlocks(benchmark::State& state)
{
    TZKCrypt c;
    c.SetSessionKey({1, 2, 3, 4, 5});
    std::vector<std::uint32_t> data(kCipherBytes / 4, 0x5A5A5A5Au);
    for (auto _ : state) {
        for (size_t i = 0; i < data.size(); i += 2)
            c.EncryptBlock(data[i], data[i + 1]);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kCipherBytes));
}
BENCHMARK(BM_CipherEncryptBlocks);

void BM_OpenSSLBlowfishEcb(benchmark::State& state)
{
    BF_KEY key;
    const unsigned char k[20] = {1, 2, 3, 4, 5};
    BF_set_key(&key, 20, k);
    std::vector<unsigned char> data(kCipherBytes, 0x5A);
    for (auto _ : state) {
        for (size_t i = 0; i < data.size(); i += 8)
            BF_ecb_encrypt(&data[i], &data[i], &key, BF_ENCRYPT);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kCipherBytes));
}
BENCHMARK(BM_OpenSSLBlowfishEcb);

void BM_Digest(benchmark::State& state)
{
    const std::string data(kCipherBytes, 'x');
    for (auto _ : state)
        benchmark::DoNotOptimize(TZKDigest::Of(data));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kCipherBytes));
}
BENCHMARK(BM_Digest);

void BM_OpenSSLSha1(benchmark::State& state)
{
    const std::string data(kCipherBytes, 'x');
    unsigned char out[20];
    for (auto _ : state) {
        SHA1(reinterpret_cast<const unsigned char*>(data.data()), data.size(), out);
        benchmark::DoNotOptimize(out);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kCipherBytes));
}
BENCHMARK(BM_OpenSSLSha1);

void BM_RequestEnvelope(benchmark::State& state)
{
    TZKCrypt c(12345);
    c.SetPublicKey(kServicePublicExponent, kServiceModulus);
    c.SetMarker(kServiceMarker);
    c.GenerateSessionKey();
    TCSDataString m;
    m.Type = "RQST";
    m.Name = "GET_SMS_CREDITS";
    m.Ver = "1.00";
    m.ProgVer = "0.97.01";
    m.AddParam(TCSParam("email_address", "kunde@example.de"));
    m.AddParam(TCSParam("password", "geheim"));
    m.AddParam(TCSParam("my_version", "0.97.01"));
    for (auto _ : state)
        benchmark::DoNotOptimize(c.EncryptRequest(m.Encode(), 46000.5));
}
BENCHMARK(BM_RequestEnvelope)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
