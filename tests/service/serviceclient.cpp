#include "tests/service/serviceclient.h"

#include "protocol/serverenvelope.h"
#include "protocol/servicekey.h"

#include <httplib.h>

#include <atomic>
#include <ctime>

namespace riz::test {

ServiceClient::ServiceClient(std::string host, int port, std::uint32_t seed)
    : m_host(std::move(host)), m_port(port), m_crypt(seed)
{
    m_crypt.SetPublicKey(kServicePublicExponent, kServiceModulus);
    m_crypt.SetMarker(kServiceMarker);
    m_crypt.GenerateSessionKey();
}

ServiceClient::Reply ServiceClient::Get(const std::string& target)
{
    httplib::Client cli(m_host, m_port);
    cli.set_connection_timeout(5, 0);
    cli.set_read_timeout(20, 0);
    Reply reply;
    auto res = cli.Get(target.c_str());
    if (!res)
        return reply;
    reply.Status = res->status;
    reply.Body = res->body;
    return reply;
}

std::string ServiceClient::Target(const std::string& messageText)
{
    // Every envelope gets a time stamp of its own, as the client's clock gives it.
    static std::atomic<int> counter{0};
    const double now = 40000.5 + (++counter) / 86400.0;
    return std::string("/VORaradi/VORaradi.dll/ZK?r=") + kRequestPrefix +
           m_crypt.EncryptRequest(messageText, now);
}

ServiceClient::Reply ServiceClient::CallText(const std::string& messageText)
{
    return Send(Target(messageText));
}

ServiceClient::Reply ServiceClient::Send(const std::string& target)
{
    Reply reply = Get(target);
    if (reply.Status != 200 || reply.Body.size() < 16)
        return reply;
    const std::string header = reply.Body.substr(0, 16);
    std::string payload = reply.Body.substr(16);
    try {
        if (header.substr(2, 2) == "01")
            payload = m_crypt.DecryptAnswer(payload);
        reply.Message.Decode(payload);
        reply.Decoded = reply.Message.HasParam("rslt");
    } catch (const std::exception&) {
        reply.Decoded = false;
    }
    return reply;
}

ServiceClient::Reply ServiceClient::Call(const std::string& name, std::vector<TCSParam> params,
                                         const std::string& email, const std::string& password,
                                         const std::string& version)
{
    TCSDataString message;
    message.Type = "RQST";
    message.Name = name;
    message.Ver = version;
    message.ProgVer = "0.97.01";
    if (!email.empty()) {
        message.AddParam(TCSParam::Text("email_address", email));
        message.AddParam(TCSParam::Text("password", password));
    }
    for (auto& p : params)
        message.AddParam(std::move(p));
    message.AddParam(TCSParam::Text("my_version", "0.97.01"));
    message.Encode();
    return CallText(message.Text);
}

std::int32_t ServiceClient::Register(const std::string& email, const std::string& password,
                                     const std::string& registrationCode)
{
    TCSTable data = MakeTextTable(
        {"email_address", "password", "gender", "first_name", "last_name", "home_phone",
         "work_phone", "cell_phone", "fax", "birthdate", "home_country_code", "language_code",
         "reseller_id"},
        {{email, password, "M", "Max", "Muster", "", "", "", "", "", "de", "DE", "0"}});
    Reply r = Call("ADD_CUSTOMER", {TCSParam::Table("custdata", data)});
    if (!r.Decoded || r.Rslt() != 0)
        return -1;
    const std::int32_t id = r.Message.GetParam("customer_id").AsInt();
    if (!registrationCode.empty()) {
        Reply c = Call("CONFIRM_REGISTRATION", {TCSParam::Int("customer_id", id),
                                                TCSParam::Text("conf_code", registrationCode)});
        if (!c.Decoded || c.Rslt() != 0)
            return -1;
    }
    return id;
}

TCSTable MakeTextTable(const std::vector<std::string>& columns,
                       const std::vector<std::vector<std::string>>& rows)
{
    TCSTable table;
    table.SetColumnCount(static_cast<std::int32_t>(columns.size()));
    for (size_t i = 0; i < columns.size(); ++i)
        table.ColumnName(static_cast<std::int32_t>(i)) = columns[i];
    for (const auto& row : rows) {
        table.AddRow();
        for (size_t i = 0; i < row.size() && i < columns.size(); ++i)
            table.CurrentCell(static_cast<std::int32_t>(i)).SetString(row[i]);
    }
    return table;
}

std::vector<std::vector<std::string>> TableRows(const TCSDataString& message,
                                                const std::string& param,
                                                const std::vector<std::string>& columns)
{
    TCSTable table = message.GetParam(param).AsTable();
    std::vector<std::vector<std::string>> rows;
    table.First();
    for (int r = 0; r < table.RowCount(); ++r, table.Next()) {
        std::vector<std::string> row;
        for (const auto& c : columns)
            row.push_back(table.CurrentCell(c).AsString());
        rows.push_back(row);
    }
    return rows;
}

} // namespace riz::test
