// riz-protocol-demo: one balance request through the whole protocol, printed step by step:
// the tagged request, its envelope, the service opening it, the encrypted answer and the
// client decoding it.
#include "protocol/answerbody.h"
#include "protocol/csdatastring.h"
#include "protocol/serverenvelope.h"
#include "protocol/servicekey.h"
#include "protocol/zkcrypt.h"

#include <cstdio>
#include <ctime>
#include <string>

using namespace riz;

int main(int argc, char** argv)
{
    const std::string keyPath = argc > 1 ? argv[1] : "keys/dev-service.key";
    TZKPrivateKey key;
    std::string error;
    if (!key.Load(keyPath, error)) {
        std::fprintf(stderr, "%s\n(usage: riz-protocol-demo [service key file])\n", error.c_str());
        return 1;
    }

    TCSDataString request;
    request.Type = "RQST";
    request.Name = "GET_SMS_CREDITS";
    request.Ver = "1.00";
    request.ProgVer = "0.97.01";
    request.AddParam(TCSParam("email_address", "kunde@example.de"));
    request.AddParam(TCSParam("password", "geheim"));
    request.AddParam(TCSParam("my_version", "0.97.01"));
    const std::string text = request.Encode();
    std::printf("1. request message:\n   %s\n\n", text.c_str());

    TZKCrypt client(static_cast<std::uint32_t>(std::time(nullptr)));
    client.SetPublicKey(kServicePublicExponent, kServiceModulus);
    client.SetMarker(kServiceMarker);
    client.GenerateSessionKey();
    const double now = 25569.0 + static_cast<double>(std::time(nullptr)) / 86400.0;
    const std::string query = std::string(kRequestPrefix) + client.EncryptRequest(text, now);
    std::printf("2. GET /VORaradi/VORaradi.dll/ZK?r=%s\n   (%zu characters)\n\n", query.c_str(),
                query.size());

    TZKServerEnvelope service(key);
    TZKOpenedRequest opened;
    if (!service.OpenRequest(query, opened, error)) {
        std::fprintf(stderr, "the service could not open the request: %s\n", error.c_str());
        return 1;
    }
    std::printf("3. the service opens it (time stamp %s):\n   %s\n\n", opened.TimeStamp.c_str(),
                opened.Message.c_str());

    const std::string answerText = "<ZK>rslt=0\\pcredits=250\\p</ZK>";
    const std::string body = TZKServerEnvelope::AnswerHeader(true) +
                             TZKServerEnvelope::EncryptAnswer(answerText, opened.Key);
    std::printf("4. answer body:\n   %s\n\n", body.c_str());

    TCSDataString answer;
    DecodeAnswerBody(body, client, answer);
    std::printf("5. the client reads rslt=%d credits=%d\n", answer.GetParam("rslt").AsInt(),
                answer.GetParam("credits").AsInt());
    return 0;
}
