#pragma once
// Shared pieces of the message and catalog task tests: a client installation talking to a
// stand-in server, crafted answers and the requests the stand-in received.
#include "data/datamodulecust.h"
#include "platform/clock.h"
#include "platform/modalhook.h"
#include "protocol/csdatastring.h"
#include "protocol/cstable.h"
#include "tests/support/clientinstall.h"
#include "tests/support/standinserver.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace riz::test {

// A table whose cells are given as parameters (TCSParam::Int("", 5), TCSParam::Text("", "a")).
inline TCSTable CellTable(const std::vector<std::string>& columns,
                          const std::vector<std::vector<TCSParam>>& rows)
{
    TCSTable t;
    t.SetColumnCount(static_cast<std::int32_t>(columns.size()));
    for (std::size_t i = 0; i < columns.size(); ++i)
        t.ColumnName(static_cast<std::int32_t>(i)) = columns[i];
    for (const auto& row : rows) {
        t.AddRow();
        for (std::size_t i = 0; i < row.size(); ++i)
            t.CurrentCell(static_cast<std::int32_t>(i)).Value = row[i].Value;
    }
    return t;
}

inline TCSParam I(std::int32_t v)
{
    return TCSParam::Int("", v);
}
inline TCSParam T(const std::string& v)
{
    return TCSParam::Text("", v);
}
inline TCSParam B(const std::string& v)
{
    return TCSParam::Stream("", v);
}
inline TCSParam D(double v)
{
    return TCSParam::DateTime("", v);
}
inline TCSParam F(double v)
{
    return TCSParam::Float("", v);
}

// An answer message with "rslt" first and the parameters after it.
inline std::string AnswerText(int rslt, std::vector<TCSParam> params = {})
{
    TCSDataString m;
    m.Type = "ANSW";
    m.AddParam(TCSParam::Int("rslt", rslt));
    for (TCSParam& p : params)
        m.AddParam(std::move(p));
    return m.Encode();
}

// The stand-in server and a client installation with a logged-in profile, at a fixed "now".
class MessagesUnit : public ::testing::Test
{
protected:
    static constexpr double kNow = 46000.5; // 2025-12-09 12:00
    static constexpr int kCustomerId = 7;

    void SetUp() override
    {
        ModalHook::Clear();
        ModalHook::ClearHistory();
        Clock::SetNow(kNow);
        server = std::make_unique<StandInServer>("127.0.0.1", 0);
        client = std::make_unique<ClientInstall>("127.0.0.1", server->Port());
        client->AddProfile("kunde@example.de", "geheim", kCustomerId);
    }
    void TearDown() override
    {
        client.reset();
        server.reset();
        Clock::Reset();
        EXPECT_FALSE(ModalHook::HasPending()) << "an answer was not used";
    }

    static StandInServer::Reply Reply(const std::string& answer)
    {
        StandInServer::Reply reply;
        reply.message = answer;
        return reply;
    }
    // Runs the task against the given answer; returns the result code, -1 when cancelled.
    int Run(int taskId, const std::string& answer)
    {
        server->SetReply(Reply(answer));
        if (client->Execute(taskId) != 1)
            return -1;
        return client->ResultCode();
    }
    // Runs the task against an answer that cannot be stored; the error text shown.
    std::string RunFailing(int taskId, const std::string& answer)
    {
        server->SetReply(Reply(answer));
        return client->ExecuteExpectingError(taskId);
    }
    // The last request the stand-in received, decoded.
    TCSDataString LastRequest() const
    {
        const auto requests = server->Requests();
        TCSDataString m;
        if (!requests.empty())
            m.Decode(requests.back().message);
        return m;
    }
    static std::vector<std::string> ParamNames(const TCSDataString& m)
    {
        std::vector<std::string> names;
        for (const auto& p : m.Params)
            names.push_back(p->Name);
        return names;
    }
    // The cells of a table as texts, row by row.
    static std::vector<std::vector<std::string>> Rows(const TCSTable& t)
    {
        std::vector<std::vector<std::string>> out;
        for (std::int32_t r = 0; r < t.RowCount(); ++r) {
            std::vector<std::string> row;
            for (std::int32_t c = 0; c < t.ColumnCount(); ++c)
                row.push_back(t.Cell(r, c).AsString());
            out.push_back(row);
        }
        return out;
    }

    std::unique_ptr<StandInServer> server;
    std::unique_ptr<ClientInstall> client;
};

} // namespace riz::test
