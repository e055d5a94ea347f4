// The client's own cost of one balance request, without the transport's fixed timer delays:
// building and encrypting the request, decrypting and decoding the answer, storing the balance
// in the customer table and writing it to its file. Side by side: a bare libcurl GET of a URL
// of the same length to a loopback HTTP server, which is what the network part costs at least.
#include "data/clientdataset.h"
#include "data/datamodulecust.h"
#include "protocol/answerbody.h"
#include "protocol/csdatastring.h"
#include "protocol/serverenvelope.h"
#include "protocol/servicekey.h"
#include "protocol/zkcrypt.h"

#include <benchmark/benchmark.h>
#include <curl/curl.h>
#include <httplib.h>

#include <filesystem>
#include <thread>

using namespace riz;

namespace {

TZKCrypt& Client()
{
    static TZKCrypt c = [] {
        TZKCrypt k(4711);
        k.SetPublicKey(kServicePublicExponent, kServiceModulus);
        k.SetMarker(kServiceMarker);
        k.GenerateSessionKey();
        return k;
    }();
    return c;
}

std::string RequestQuery()
{
    TCSDataString m;
    m.Type = "RQST";
    m.Name = "GET_SMS_CREDITS";
    m.Ver = "1.00";
    m.ProgVer = "0.97.01";
    m.AddParam(TCSParam("email_address", "kunde@example.de"));
    m.AddParam(TCSParam("password", "geheim"));
    m.AddParam(TCSParam("my_version", "0.97.01"));
    return std::string(kRequestPrefix) + Client().EncryptRequest(m.Encode(), 46367.5);
}

void BM_ClientSideOfOneRequest(benchmark::State& state)
{
    const std::string answerBody =
        TZKServerEnvelope::AnswerHeader(true) +
        TZKServerEnvelope::EncryptAnswer("<ZK>rslt=0\\pcredits=1234\\platest_version=0.97.01\\p</ZK>",
                                         Client().GetSessionKey());
    const std::string dir =
        (std::filesystem::temp_directory_path() / "riz-bench-request").string();
    std::filesystem::create_directories(dir);
    const std::string file = dir + "/customer.0.96.cds";
    std::filesystem::remove(file);
    TClientDataSet customer("CDSCustomer");
    customer.FieldDefs = TDataModuleCust::CustomerFields();
    customer.CreateDataSet();
    customer.Append();
    customer.FieldByName("CUSTOMER_ID").SetAsInteger(1);
    customer.FieldByName("EMAIL_ADDRESS").SetAsString("kunde@example.de");
    customer.Post();
    customer.SaveToFile(file);

    int credits = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(RequestQuery());
        TCSDataString answer;
        DecodeAnswerBody(answerBody, Client(), answer);
        customer.Edit();
        customer.FieldByName("CREDITS").SetAsInteger(answer.GetParam("credits").AsInt() + credits++);
        customer.Post();
        if (state.range(0))
            customer.SaveToFile(file);
    }
    std::filesystem::remove_all(dir);
}
// Argument 1 includes writing the customer table to its file (a synchronous SQLite commit);
// 0 is the protocol work alone.
BENCHMARK(BM_ClientSideOfOneRequest)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

std::size_t Discard(char*, std::size_t size, std::size_t n, void*)
{
    return size * n;
}

void BM_BareCurlGetOnLoopback(benchmark::State& state)
{
    httplib::Server server;
    server.Get(R"(/VORaradi/VORaradi\.dll/ZK)", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("0001------------0123456789abcdefghijklmnopqrstuv0123456789abcd", "text/plain");
    });
    const int port = server.bind_to_any_port("127.0.0.1");
    std::thread t([&] { server.listen_after_bind(); });
    const std::string url = "http://127.0.0.1:" + std::to_string(port) +
                            "/VORaradi/VORaradi.dll/ZK?r=" + RequestQuery();
    CURL* easy = curl_easy_init();
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Discard);
    curl_easy_setopt(easy, CURLOPT_PROXY, "");
    // A fresh connection per request, as the client's transport opens one per request too.
    curl_easy_setopt(easy, CURLOPT_FORBID_REUSE, 1L);
    for (auto _ : state) {
        if (curl_easy_perform(easy) != CURLE_OK)
            state.SkipWithError("GET failed");
    }
    curl_easy_cleanup(easy);
    server.stop();
    t.join();
}
BENCHMARK(BM_BareCurlGetOnLoopback)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
