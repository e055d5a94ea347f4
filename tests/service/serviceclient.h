#pragma once

#include "protocol/csdatastring.h"
#include "protocol/cstable.h"
#include "protocol/zkcrypt.h"

#include <string>
#include <vector>

namespace riz::test {

// Speaks to a riz-service as the client does: encodes a request message, wraps it in the
// envelope with a session key of its own, sends it as GET and opens the answer.
class ServiceClient final
{
public:
    ServiceClient(std::string host, int port, std::uint32_t seed = 1);

    struct Reply
    {
        int Status = 0;        // HTTP status; 0 when the connection failed
        std::string Body;      // raw body
        bool Decoded = false;  // the answer opened and decoded
        TCSDataString Message; // the answer
        int Rslt() const { return Message.GetParam("rslt").AsInt(); }
    };

    // A request with Type "RQST", the given name and layout version, the login (when email is
    // not empty), the parameters and "my_version" last.
    Reply Call(const std::string& name, std::vector<TCSParam> params, const std::string& email = {},
               const std::string& password = {}, const std::string& version = "1.00");
    // Sends a ready message text through the envelope.
    Reply CallText(const std::string& messageText);
    // The GET target of a message text in a new envelope, and the answer to a target.
    std::string Target(const std::string& messageText);
    Reply Send(const std::string& target);
    // A raw GET of a path with query; nothing decoded.
    Reply Get(const std::string& target);

    // Registers and confirms a customer through the protocol; returns the customer id.
    std::int32_t Register(const std::string& email, const std::string& password,
                          const std::string& registrationCode = {});

    TZKCrypt& Crypt() { return m_crypt; }

private:
    std::string m_host;
    int m_port;
    TZKCrypt m_crypt;
};

// A table from column names and rows of texts.
TCSTable MakeTextTable(const std::vector<std::string>& columns,
                       const std::vector<std::vector<std::string>>& rows);
// The rows of a table parameter as texts, by column name.
std::vector<std::vector<std::string>> TableRows(const TCSDataString& message,
                                                const std::string& param,
                                                const std::vector<std::string>& columns);

} // namespace riz::test
