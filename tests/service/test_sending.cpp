// SEND_SMS through the real HTTP path: receiver codes, parts and chains, charging, free
// sponsored SMS with banners, logos and ringtones, scheduled sends, and the history.

#include "tests/service/servicefixture.h"

#include "platform/calendar.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace riz::test {
namespace {

class SendingTest : public ServiceTest
{
protected:
    struct Send
    {
        std::string Text = "Hallo";
        std::vector<std::pair<int, std::string>> Receivers;
        bool DontSplit = false;
        bool Free = false;
        std::string Option = "sms";
        int OptionId = 0;
        std::string LogoType;
        std::string OwnLogo;
        bool HasOwnLogo = false;
        double SendDate = 0;
        std::string Banners;
    };

    ServiceClient::Reply Do(const std::string& email, const Send& s)
    {
        std::vector<std::vector<std::string>> rows;
        for (const auto& [id, number] : s.Receivers)
            rows.push_back({std::to_string(id), number});
        std::vector<TCSParam> params = {
            TCSParam::Text("sms_text", s.Text), TCSParam::Text("sms_sender", "01725555555"),
            TCSParam::Table("receivers", MakeTextTable({"receiver_id", "receiver_number"}, rows))};
        if (s.SendDate != 0)
            params.push_back(TCSParam::DateTime("send_date", s.SendDate));
        params.push_back(TCSParam::Int("dont_split", s.DontSplit ? 1 : 0));
        params.push_back(TCSParam::Int("free", s.Free ? 1 : 0));
        if (s.Option != "sms" && s.Option != "text") {
            params.push_back(TCSParam::Text("send_option", s.Option));
            if (!s.HasOwnLogo)
                params.push_back(TCSParam::Int("option_id", s.OptionId));
            if (s.Option == "logo")
                params.push_back(TCSParam::Text("logo_type", s.LogoType));
            if (s.HasOwnLogo)
                params.push_back(TCSParam::Stream("own_logo_data", s.OwnLogo));
        }
        if (s.Free)
            params.push_back(TCSParam::Text("banners", s.Banners));
        ServiceClient client = Client();
        auto r = client.Call("SEND_SMS", std::move(params), email, "geheim", "1.01");
        EXPECT_TRUE(r.Decoded);
        return r;
    }

    static std::vector<std::string> Split(const std::string& ids)
    {
        std::vector<std::string> parts;
        size_t start = 0;
        for (size_t comma; (comma = ids.find(',', start)) != std::string::npos; start = comma + 1)
            parts.push_back(ids.substr(start, comma - start));
        EXPECT_EQ(start, ids.size()) << "every id is followed by a comma: " << ids;
        return parts;
    }

    static double NowDays()
    {
        const time_t t = time(nullptr);
        std::tm local{};
        localtime_r(&t, &local);
        return riz::calendar::DateValue(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
               (local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) / 86400.0;
    }
};

TEST_F(SendingTest, EachReceiverGetsItsCodeOrItsQueueIdsAndOnlyAcceptedOnesAreCharged)
{
    const std::string email = NewCustomer("rcv", 1000);
    const struct
    {
        std::string Number;
        int Code; // 0 accepted
    } cases[] = {
        {"+491725555555", 0},   {"+4915112345678", 0},
        {"+43664123456789", 0}, {"+41791234567", 0},
        {"0172 5555556", 0},    {"+49 (0)172-5555557", 0},
        {"+49172555x555", 80},  {"", 80},
        {"12345", 80},          {"+441234567890", 81},
        {"+12125555555", 81},   {"+49301234567", 82},
        {"+4917255555", 83},    {"+491725555555555", 83},
        {"+4179123456", 83},
    };
    Send s;
    s.Text = "Guten Morgen";
    for (size_t i = 0; i < std::size(cases); ++i)
        s.Receivers.push_back({static_cast<int>(i + 1), cases[i].Number});
    auto r = Do(email, s);
    ASSERT_EQ(r.Rslt(), 0);
    const auto queued = TableRows(r.Message, "sms_queue_ids", {"receiver_id", "queue_ids"});
    const auto errors = TableRows(r.Message, "error_codes", {"receiver_id", "error_code"});
    int accepted = 0;
    for (size_t i = 0; i < std::size(cases); ++i) {
        const std::string id = std::to_string(i + 1);
        auto inQueued = std::find_if(queued.begin(), queued.end(),
                                     [&](const auto& row) { return row[0] == id; });
        auto inErrors = std::find_if(errors.begin(), errors.end(),
                                     [&](const auto& row) { return row[0] == id; });
        if (cases[i].Code == 0) {
            ++accepted;
            ASSERT_NE(inQueued, queued.end()) << cases[i].Number;
            EXPECT_EQ(Split((*inQueued)[1]).size(), 1u);
            EXPECT_EQ(inErrors, errors.end());
        } else {
            ASSERT_NE(inErrors, errors.end()) << cases[i].Number;
            EXPECT_EQ((*inErrors)[1], std::to_string(cases[i].Code)) << cases[i].Number;
            EXPECT_EQ(inQueued, queued.end());
        }
    }
    EXPECT_EQ(r.Message.GetParam("remaining_credits").AsInt(), 1000 - accepted * 15);
    EXPECT_EQ(Service().Credits(email), 1000 - accepted * 15);
    const auto inbox = Service().PhoneInbox("+491725555557");
    ASSERT_EQ(inbox.size(), 1u);
    EXPECT_EQ(inbox[0].Text, "Guten Morgen");
    EXPECT_EQ(inbox[0].Sender, "01725555555");
}

TEST_F(SendingTest, LongTextsAreSplitIntoChainedPartsAndChargedPerPartAndReceiver)
{
    const std::string email = NewCustomer("parts", 1000);
    std::string text(149, 'a');
    text += ' ';
    text += std::string(11, 'b'); // 161 characters, a blank at position 150
    for (bool dontSplit : {false, true}) {
        Send s;
        s.Text = text;
        s.DontSplit = dontSplit;
        s.Receivers = {{7, "+491715555501"}, {8, "+491715555502"}};
        const int before = Service().Credits(email);
        auto r = Do(email, s);
        ASSERT_EQ(r.Rslt(), 0);
        const auto queued = TableRows(r.Message, "sms_queue_ids", {"receiver_id", "queue_ids"});
        ASSERT_EQ(queued.size(), 2u);
        EXPECT_EQ(Service().Credits(email), before - 2 * 2 * 15);

        // The history chains the two parts of each receiver.
        ServiceClient client = Client();
        auto h = client.Call("LOAD_SMS_HISTORY", {}, email, "geheim");
        ASSERT_EQ(h.Rslt(), 0);
        const auto rows = TableRows(h.Message, "history",
                                    {"queue_id", "next_queue_id", "text", "receiver", "sms_type"});
        const auto ids = Split(queued[0][1]);
        ASSERT_EQ(ids.size(), 2u);
        auto row = [&](const std::string& id) {
            return *std::find_if(rows.begin(), rows.end(),
                                 [&](const auto& x) { return x[0] == id; });
        };
        EXPECT_EQ(row(ids[0])[1], ids[1]);
        EXPECT_EQ(row(ids[1])[1], "");
        EXPECT_EQ(row(ids[0])[3], "+491715555501");
        EXPECT_EQ(row(ids[0])[4], "sms");
        if (dontSplit) {
            EXPECT_EQ(row(ids[0])[2], std::string(149, 'a'));
            EXPECT_EQ(row(ids[1])[2], std::string(11, 'b'));
        } else {
            EXPECT_EQ(row(ids[0])[2], text.substr(0, 160));
            EXPECT_EQ(row(ids[1])[2], "b");
        }
    }
}

TEST_F(SendingTest, TooFewCreditsSendsNothingAndCharges0)
{
    const std::string email = NewCustomer("poor", 29);
    Send s;
    s.Receivers = {{1, "+491725555561"}, {2, "+491725555562"}};
    auto r = Do(email, s);
    ASSERT_EQ(r.Rslt(), 86);
    EXPECT_EQ(Service().Credits(email), 29);
    EXPECT_TRUE(Service().PhoneInbox("+491725555561").empty());
    // Exactly enough is enough.
    Service().SetCredits(email, 30);
    EXPECT_EQ(Do(email, s).Rslt(), 0);
    EXPECT_EQ(Service().Credits(email), 0);
}

TEST_F(SendingTest, TextsThatCannotBeSentAreRefusedPerReceiver)
{
    const std::string email = NewCustomer("text", 1000);
    for (const std::string& text :
         {std::string(""), std::string("  \r\n "), std::string(1601, 'x')}) {
        Send s;
        s.Text = text;
        s.Receivers = {{3, "+491725555571"}};
        auto r = Do(email, s);
        ASSERT_EQ(r.Rslt(), 0);
        EXPECT_EQ(TableRows(r.Message, "error_codes", {"receiver_id", "error_code"}),
                  (std::vector<std::vector<std::string>>{{"3", "84"}}));
    }
    EXPECT_EQ(Service().Credits(email), 1000);
}

TEST_F(SendingTest, FreeSponsoredSmsHasADailyLimitAndSendsBannersTheClientLacks)
{
    const std::string email = NewCustomer("free", 0);
    Send s;
    s.Free = true;
    s.Text = "Gesponsert";
    s.Receivers = {{1, "+491725555581"}, {2, "+491725555582"}};
    auto first = Do(email, s);
    ASSERT_EQ(first.Rslt(), 0);
    EXPECT_EQ(first.Message.GetParam("have_free").AsInt(), 3);
    EXPECT_EQ(Service().Credits(email), 0);
    const auto banners =
        TableRows(first.Message, "banners", {"banner_id", "file_type", "wait_time"});
    ASSERT_EQ(banners.size(), 3u);
    const int show = first.Message.GetParam("banner_to_show").AsInt();
    EXPECT_TRUE(std::any_of(banners.begin(), banners.end(),
                            [&](const auto& b) { return b[0] == std::to_string(show); }));
    const std::string picture = first.Message.GetParam("banners").AsTable().Cell(0, 2).AsStream();
    EXPECT_EQ(picture.substr(0, 2), "BM");

    // A client holding banners 1 and 3 gets banner 2 only.
    s.Banners = "<1><3>";
    s.Receivers = {{1, "+491725555583"}, {2, "+491725555584"}};
    auto second = Do(email, s);
    ASSERT_EQ(second.Rslt(), 0);
    EXPECT_EQ(second.Message.GetParam("have_free").AsInt(), 1);
    EXPECT_EQ(TableRows(second.Message, "banners", {"banner_id"}),
              (std::vector<std::vector<std::string>>{{"2"}}));

    // Two more do not fit into the one left: 87 with the count, nothing sent.
    s.Receivers = {{1, "+491725555585"}, {2, "+491725555586"}};
    auto third = Do(email, s);
    ASSERT_EQ(third.Rslt(), 87);
    EXPECT_EQ(third.Message.GetParam("have_free").AsInt(), 1);
    EXPECT_TRUE(Service().PhoneInbox("+491725555585").empty());

    // Free texts are at most 130 characters.
    s.Text = std::string(131, 'f');
    s.Receivers = {{1, "+491725555587"}};
    auto longText = Do(email, s);
    ASSERT_EQ(longText.Rslt(), 0);
    EXPECT_EQ(TableRows(longText.Message, "error_codes", {"error_code"})[0][0], "84");
}

TEST_F(SendingTest, LogosAndRingtonesByCatalogIdOrOwnBitmap)
{
    const std::string email = NewCustomer("logo", 1000);
    ServiceClient client = Client();
    auto items = client.Call("LOAD_LOGOS", {TCSParam::Int("category", 1)}, email, "geheim");
    ASSERT_EQ(items.Rslt(), 0);
    const std::string logo = items.Message.GetParam("items").AsTable().Cell(0, 3).AsStream();
    const int logoId = items.Message.GetParam("items").AsTable().Cell(0, 0).AsInt();
    auto tunes = client.Call("LOAD_LOGOS", {TCSParam::Int("category", 4)}, email, "geheim");
    ASSERT_EQ(tunes.Rslt(), 0);
    const int tuneId = tunes.Message.GetParam("items").AsTable().Cell(0, 0).AsInt();

    const struct
    {
        std::string Option;
        int Id;
        std::string Type;
        bool Own;
        std::string OwnData;
        std::string Number;
        int Code;
        int Price;
    } cases[] = {
        {"logo", logoId, "NOL", false, "", "+491725555591", 0, 30},
        {"logo", logoId, "NGG", false, "", "+491725555592", 0, 30},
        {"logo", 99999, "NOL", false, "", "+491725555593", 104, 0},
        {"logo", tuneId, "NOL", false, "", "+491725555594", 104, 0},
        {"logo", logoId, "NOL", false, "", "+43664123456789", 105, 0},
        {"logo", 0, "NOL", true, logo, "+491725555595", 0, 30},
        {"logo", 0, "NOL", true, "BM not a bitmap", "+491725555596", 104, 0},
        {"sound", tuneId, "", false, "", "+491725555597", 0, 30},
        {"sound", logoId, "", false, "", "+491725555598", 104, 0},
    };
    for (const auto& c : cases) {
        Send s;
        s.Text = "Logo versendet.";
        s.Option = c.Option;
        s.OptionId = c.Id;
        s.LogoType = c.Type;
        s.HasOwnLogo = c.Own;
        s.OwnLogo = c.OwnData;
        s.Receivers = {{5, c.Number}};
        const int before = Service().Credits(email);
        auto r = Do(email, s);
        ASSERT_EQ(r.Rslt(), 0) << c.Option << " " << c.Id;
        if (c.Code == 0) {
            EXPECT_EQ(TableRows(r.Message, "sms_queue_ids", {"receiver_id"}).size(), 1u);
            ASSERT_EQ(Service().PhoneInbox(c.Number).size(), 1u);
            EXPECT_EQ(Service().PhoneInbox(c.Number)[0].Kind, c.Option);
        } else {
            EXPECT_EQ(TableRows(r.Message, "error_codes", {"error_code"})[0][0],
                      std::to_string(c.Code))
                << c.Option << " " << c.Id << " " << c.Number;
        }
        EXPECT_EQ(Service().Credits(email), before - c.Price);
    }
    auto h = client.Call("LOAD_SMS_HISTORY", {}, email, "geheim");
    const auto types = TableRows(h.Message, "history", {"sms_type"});
    EXPECT_EQ(std::count(types.begin(), types.end(), std::vector<std::string>{"logo"}), 3);
    EXPECT_EQ(std::count(types.begin(), types.end(), std::vector<std::string>{"sound"}), 1);
}

TEST_F(SendingTest, AFutureSendDateIsDeliveredWhenItsTimeComes)
{
    const std::string email = NewCustomer("later", 100);
    Send s;
    s.Text = "Bis gleich";
    s.SendDate = NowDays() + 2.0 / 86400;
    s.Receivers = {{1, "+491725555611"}};
    auto r = Do(email, s);
    ASSERT_EQ(r.Rslt(), 0);
    EXPECT_EQ(Service().Credits(email), 85) << "charged when accepted";
    EXPECT_TRUE(Service().PhoneInbox("+491725555611").empty());
    std::vector<PhoneSms> inbox;
    for (int i = 0; i < 100 && inbox.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        inbox = Service().PhoneInbox("+491725555611");
    }
    ASSERT_EQ(inbox.size(), 1u);
    EXPECT_EQ(inbox[0].Text, "Bis gleich");

    // A send date in the past is sent at once.
    s.SendDate = NowDays() - 1;
    s.Receivers = {{1, "+491725555612"}};
    ASSERT_EQ(Do(email, s).Rslt(), 0);
    EXPECT_EQ(Service().PhoneInbox("+491725555612").size(), 1u);
}

TEST_F(SendingTest, HistoryFoldersAndDeletion)
{
    const std::string email = NewCustomer("hist", 1000);
    Send s;
    s.Text = std::string(170, 'x');
    s.Receivers = {{1, "+491725555621"}};
    auto r = Do(email, s);
    ASSERT_EQ(r.Rslt(), 0);
    const auto ids = Split(TableRows(r.Message, "sms_queue_ids", {"queue_ids"})[0][0]);
    s.Text = "kurz";
    auto r2 = Do(email, s);
    const auto ids2 = Split(TableRows(r2.Message, "sms_queue_ids", {"queue_ids"})[0][0]);

    ServiceClient client = Client();
    TCSTable tree = MakeTextTable({"queue_id", "tree"}, {{ids[0], "Gesendete SMS;Privat;"},
                                                         {ids[1], "Gesendete SMS;Privat;"},
                                                         {"999999", "Fremd;"}});
    auto t = client.Call("SAVE_TREE",
                         {TCSParam::Table("sent_sms", tree),
                          TCSParam::Table("received_sms", MakeTextTable({"queue_id", "tree"}, {}))},
                         email, "geheim");
    ASSERT_EQ(t.Rslt(), 0);
    auto h = client.Call("LOAD_SMS_HISTORY", {}, email, "geheim");
    auto rows = TableRows(h.Message, "history", {"queue_id", "tree"});
    EXPECT_EQ(rows, (std::vector<std::vector<std::string>>{{ids[0], "Gesendete SMS;Privat;"},
                                                           {ids[1], "Gesendete SMS;Privat;"},
                                                           {ids2[0], ""}}));

    // Another customer can neither see nor delete these.
    const std::string other = NewCustomer("hist", 0);
    auto del = client.Call("DELETE_SMS_HISTORY",
                           {TCSParam::Table("queue_id", MakeTextTable({"queue_id"}, {{ids2[0]}}))},
                           other, "geheim");
    ASSERT_EQ(del.Rslt(), 0);
    EXPECT_EQ(client.Call("LOAD_SMS_HISTORY", {}, other, "geheim")
                  .Message.GetParam("history")
                  .AsTable()
                  .RowCount(),
              0);

    auto mine = client.Call(
        "DELETE_SMS_HISTORY",
        {TCSParam::Table("queue_id", MakeTextTable({"queue_id"}, {{ids[0]}, {ids[1]}, {"abc"}}))},
        email, "geheim");
    ASSERT_EQ(mine.Rslt(), 0);
    h = client.Call("LOAD_SMS_HISTORY", {}, email, "geheim");
    EXPECT_EQ(TableRows(h.Message, "history", {"queue_id"}),
              (std::vector<std::vector<std::string>>{{ids2[0]}}));
}

TEST_F(SendingTest, ARequestTextSentAgainIsCarriedOutOnceWithinTheReplayWindow)
{
    for (const bool window : {false, true}) {
        ServiceOptions options;
        if (window)
            options.ExtraArgs = {"--replay-window", "60"};
        ServiceProcess service(options);
        ASSERT_TRUE(service.Running()) << service.Error();
        ServiceClient client(service.Host(), service.Port());
        const std::string email = NewEmail("replay");
        ASSERT_GT(service.CreateCustomer(email, "geheim", 100), 0);
        TCSDataString m;
        m.Type = "RQST";
        m.Name = "SEND_SMS";
        m.Ver = "1.01";
        m.AddParam(TCSParam::Text("email_address", email));
        m.AddParam(TCSParam::Text("password", "geheim"));
        m.AddParam(TCSParam::Text("sms_text", "Nur einmal"));
        m.AddParam(TCSParam::Text("sms_sender", "x"));
        m.AddParam(TCSParam::Table("receivers", MakeTextTable({"receiver_id", "receiver_number"},
                                                              {{"1", "+491725555801"}})));
        m.AddParam(TCSParam::Text("my_version", "0.97.01"));
        m.Encode();
        // The client resends the very same text after a lost answer.
        const std::string target = client.Target(m.Text);
        auto first = client.Send(target);
        auto again = client.Send(target);
        ASSERT_TRUE(first.Decoded);
        ASSERT_TRUE(again.Decoded);
        EXPECT_EQ(first.Rslt(), 0);
        EXPECT_EQ(again.Rslt(), 0);
        EXPECT_EQ(service.Credits(email), window ? 85 : 70);
        EXPECT_EQ(service.PhoneInbox("+491725555801").size(), window ? 1u : 2u);
        if (window) {
            EXPECT_EQ(again.Message.GetParam("sms_queue_ids").AsTable().Cell(0, 1).AsString(),
                      first.Message.GetParam("sms_queue_ids").AsTable().Cell(0, 1).AsString());
        }
        // The same message in a new envelope is a new request.
        auto other = client.CallText(m.Text);
        EXPECT_EQ(other.Rslt(), 0);
        EXPECT_EQ(service.Credits(email), window ? 70 : 55);
    }
}

} // namespace
} // namespace riz::test
