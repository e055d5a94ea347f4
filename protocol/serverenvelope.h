#pragma once

#include "protocol/lint.h"
#include "protocol/zkcrypt.h"

#include <string>

namespace riz {

// The prefix in front of every encrypted request.
inline constexpr const char* kRequestPrefix = "0001------------0001------------";

// The service's private key and the marker it shares with the clients.
struct TZKPrivateKey
{
    LINT Modulus;
    LINT PublicExponent;
    LINT PrivateExponent;
    std::string Marker;

    // Reads the key file written by riz-keygen; false with a reason when it is not one.
    bool Load(const std::string& path, std::string& error);
    bool Parse(const std::string& text, std::string& error);
};

struct TZKOpenedRequest
{
    std::string Message;        // the tagged message text
    std::string TimeStamp;      // the date-time text between marker and message
    TZKCrypt::SessionKey Key{}; // to encrypt the answer with
};

// The service's side of the envelope, shared with the client so that both speak one cipher.
class TZKServerEnvelope final
{
public:
    explicit TZKServerEnvelope(const TZKPrivateKey& key) : m_key(key) {}

    // Opens the request text that follows "r=" (prefix included): recovers the session key
    // and the digest, decrypts, checks the digest and strips marker and time stamp. False
    // with a reason for anything that is not a well-formed request.
    bool OpenRequest(const std::string& requestText, TZKOpenedRequest& out,
                     std::string& error) const;

    static std::string EncryptAnswer(const std::string& message, const TZKCrypt::SessionKey& key);
    // The 16-character header in front of every answer: characters 3-4 tell whether the
    // payload is encrypted.
    static std::string AnswerHeader(bool encrypted);

private:
    const TZKPrivateKey& m_key;
};

} // namespace riz
