// The send task against crafted answers: what the request carries for each kind of message, how
// the per-receiver results, the balance, the free count and the sponsor banners are stored, and
// that an answer that cannot be stored leaves every table as it was.
#include "data/appparam.h"
#include "data/datamodulesms.h"
#include "tests/tasks/messagestest.h"

#include <algorithm>
#include <cmath>

using namespace riz;
using namespace riz::test;

namespace {

void AddReceiver(int id, const std::string& number)
{
    TClientDataSet& r = DataModuleSMS->CDSSMSReceiver;
    r.Append();
    r.FieldByName("RECEIVER_ID").SetAsInteger(id);
    r.FieldByName("RECEIVER_NAME").SetAsString("Empfänger " + std::to_string(id));
    r.FieldByName("RECEIVER_NUMBER").SetAsString(number);
    r.FieldByName("RESPONSE_CODE").SetAsInteger(-1);
    r.Post();
}

struct ReceiverState
{
    int id;
    int code;
    std::string queueIds;
    bool operator==(const ReceiverState&) const = default;
};

std::vector<ReceiverState> Receivers()
{
    std::vector<ReceiverState> out;
    TClientDataSet& r = DataModuleSMS->CDSSMSReceiver;
    for (r.First(); !r.Eof(); r.Next())
        out.push_back({r.FieldByName("RECEIVER_ID").AsInteger(),
                       r.FieldByName("RESPONSE_CODE").AsInteger(),
                       r.FieldByName("QUEUE_IDS").AsString()});
    return out;
}

void AddBanner(int id, double lastCall)
{
    TClientDataSet& b = DataModuleSMS->CDSBanner;
    b.Append();
    b.FieldByName("BANNER_ID").SetAsInteger(id);
    b.FieldByName("BANNER_NAME").SetAsString("Sponsor " + std::to_string(id));
    b.FieldByName("LAST_CALL").SetAsDateTime(lastCall);
    b.Post();
}

std::vector<int> BannerIds()
{
    std::vector<int> ids;
    TClientDataSet& b = DataModuleSMS->CDSBanner;
    for (b.First(); !b.Eof(); b.Next())
        ids.push_back(b.FieldByName("BANNER_ID").AsInteger());
    return ids;
}

int Credits()
{
    return DataModuleCust->CDSCustomer.FieldByName("CREDITS").AsInteger();
}

void SetCredits(int credits)
{
    TClientDataSet& c = DataModuleCust->CDSCustomer;
    c.Edit();
    c.FieldByName("CREDITS").SetAsInteger(credits);
    c.Post();
    DataModuleCust->CommitCustomerTables();
}

std::string SuccessAnswer(int credits, int haveFree, std::vector<TCSParam> more = {})
{
    std::vector<TCSParam> p;
    p.push_back(TCSParam::Int("have_free", haveFree));
    p.push_back(TCSParam::Int("remaining_credits", credits));
    p.push_back(
        TCSParam::Table("sms_queue_ids", CellTable({"receiver_id", "queue_ids"},
                                                   {{I(1), T("101,")}, {I(3), T("103,104,")}})));
    for (TCSParam& m : more)
        p.push_back(std::move(m));
    return AnswerText(0, std::move(p));
}

TCSParam ErrorCodes(std::vector<std::vector<TCSParam>> rows)
{
    return TCSParam::Table("error_codes",
                           CellTable({"receiver_id", "error_code"}, std::move(rows)));
}

using SendUnit = MessagesUnit;

} // namespace

TEST_F(SendUnit, ThreeReceiversWithTheSecondRefused)
{
    SetCredits(500);
    AddReceiver(1, "+491721111111");
    AddReceiver(2, "+49301234567");
    AddReceiver(3, "+491733333333");
    DataModuleSMS->SmsText = "Treffen um acht <Bahnhof>";
    DataModuleSMS->SmsSender = "Anna";

    ASSERT_EQ(Run(50441, SuccessAnswer(455, 4,
                                       [] {
                                           std::vector<TCSParam> v;
                                           v.push_back(ErrorCodes({{I(2), I(82)}}));
                                           v.push_back(TCSParam::Text("latest_version", "0.97.09"));
                                           return v;
                                       }())),
              0);

    const std::vector<ReceiverState> expected = {{1, -1, "101,"}, {2, 82, ""}, {3, -1, "103,104,"}};
    EXPECT_EQ(Receivers(), expected);
    EXPECT_EQ(Credits(), 455);
    EXPECT_EQ(DataModuleSMS->FreeSmsLeft, 4);
    EXPECT_EQ(DataModuleSMS->FreeSmsDay, static_cast<int>(std::floor(kNow)));
    EXPECT_EQ(AppParam->sLatestVersion, "0.97.09");

    // The request: header, login, then the parameters in their order.
    const TCSDataString req = LastRequest();
    EXPECT_EQ(req.Name, "SEND_SMS");
    EXPECT_EQ(req.Ver, "1.01");
    EXPECT_EQ(ParamNames(req),
              (std::vector<std::string>{"email_address", "password", "sms_text", "sms_sender",
                                        "receivers", "dont_split", "free", "my_version"}));
    EXPECT_EQ(req.GetParam("sms_text").AsString(), "Treffen um acht <Bahnhof>");
    const std::vector<std::vector<std::string>> receivers = {
        {"1", "+491721111111"}, {"2", "+49301234567"}, {"3", "+491733333333"}};
    EXPECT_EQ(Rows(req.GetParam("receivers").AsTable()), receivers);

    // The balance reached the customer file.
    client->Reopen();
    EXPECT_EQ(Credits(), 455);
}

struct RequestCase
{
    const char* name;
    std::string option;
    bool ownLogo;
    bool sendNow;
    std::vector<std::string> params; // between "receivers" and "my_version"
};

class SendRequestKinds : public MessagesUnit, public ::testing::WithParamInterface<RequestCase>
{
};

TEST_P(SendRequestKinds, CarryTheParametersOfTheirKind)
{
    const RequestCase& c = GetParam();
    AddReceiver(1, "+491721111111");
    TDataModuleSMS& sms = *DataModuleSMS;
    sms.SmsText = "x";
    sms.SendOption = c.option;
    sms.OptionId = 4711;
    sms.OptionType = "NGG";
    sms.OwnLogo = c.ownLogo;
    const std::string bitmap("BM\0\x01<>\\\xff", 8);
    sms.OwnLogoData = bitmap;
    sms.SendNow = c.sendNow;
    sms.SendDate = kNow + 2.25;
    ASSERT_EQ(Run(50441, SuccessAnswer(0, 5)), 0);

    const TCSDataString req = LastRequest();
    std::vector<std::string> expected = {"email_address", "password", "sms_text", "sms_sender",
                                         "receivers"};
    expected.insert(expected.end(), c.params.begin(), c.params.end());
    expected.push_back("my_version");
    EXPECT_EQ(ParamNames(req), expected);
    if (req.HasParam("option_id")) {
        EXPECT_EQ(req.GetParam("option_id").AsInt(), 4711);
    }
    if (req.HasParam("logo_type")) {
        EXPECT_EQ(req.GetParam("logo_type").AsString(), "NGG");
    }
    if (req.HasParam("own_logo_data")) {
        EXPECT_EQ(req.GetParam("own_logo_data").AsStream(), bitmap);
    }
    if (req.HasParam("send_date")) {
        EXPECT_NEAR(req.GetParam("send_date").AsDateTime(), kNow + 2.25, 1e-5);
    }
    if (req.HasParam("send_option")) {
        EXPECT_EQ(req.GetParam("send_option").AsString(), c.option);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, SendRequestKinds,
    ::testing::Values(
        RequestCase{"Text", "sms", false, true, {"dont_split", "free"}},
        RequestCase{"CatalogText", "text", false, true, {"dont_split", "free"}},
        RequestCase{"Later", "sms", false, false, {"send_date", "dont_split", "free"}},
        RequestCase{
            "Ringtone", "sound", false, true, {"dont_split", "free", "send_option", "option_id"}},
        RequestCase{"RingtoneOwnFlagIgnored",
                    "sound",
                    true,
                    true,
                    {"dont_split", "free", "send_option", "option_id"}},
        RequestCase{"CatalogLogo",
                    "logo",
                    false,
                    true,
                    {"dont_split", "free", "send_option", "option_id", "logo_type"}},
        RequestCase{"OwnLogo",
                    "logo",
                    true,
                    true,
                    {"dont_split", "free", "send_option", "logo_type", "own_logo_data"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SendUnit, SponsoredSendListsBannersShownWithinFourteenDaysAndStoresNewOnes)
{
    AddBanner(3, kNow - 13);
    AddBanner(5, kNow - 15);
    AddBanner(17, kNow - 1);
    DataModuleSMS->CommitBanners();
    AddReceiver(1, "+491721111111");
    DataModuleSMS->FreeSms = true;
    const std::string picture("BM\0\0<pic>\\", 10);

    std::vector<TCSParam> more;
    more.push_back(TCSParam::Int("banner_to_show", 21));
    more.push_back(TCSParam::Table(
        "banners",
        CellTable(
            {"banner_id", "banner_name", "banner", "file_type", "link", "wait_time"},
            {{I(21), T("Eis & Co"), B(picture), T("bmp"), T("http://eis.example/"), I(3000)}})));
    ASSERT_EQ(Run(50441, SuccessAnswer(0, 2, std::move(more))), 0);

    const TCSDataString req = LastRequest();
    EXPECT_EQ(req.GetParam("free").AsInt(), 1);
    EXPECT_EQ(req.GetParam("banners").AsString(), "<3><17>");
    EXPECT_EQ(DataModuleSMS->BannerToShow, 21);
    EXPECT_EQ(DataModuleSMS->FreeSmsLeft, 2);

    // Written: the old banner is gone from the file, the new one is there with its picture.
    client->Reopen();
    EXPECT_EQ(BannerIds(), (std::vector<int>{3, 17, 21}));
    TClientDataSet& b = DataModuleSMS->CDSBanner;
    ASSERT_TRUE(b.Locate("BANNER_ID", TValue(std::int32_t{21})));
    EXPECT_EQ(b.FieldByName("BANNER").AsString(), picture);
    EXPECT_EQ(b.FieldByName("BANNER_NAME").AsString(), "Eis & Co");
    EXPECT_EQ(b.FieldByName("LINK").AsString(), "http://eis.example/");
    EXPECT_EQ(b.FieldByName("WAIT_TIME").AsInteger(), 3000);
    EXPECT_DOUBLE_EQ(b.FieldByName("LAST_CALL").AsDateTime(), kNow);
}

TEST_F(SendUnit, PaidSendSendsNoBannerListAndIgnoresBannerData)
{
    AddBanner(5, kNow - 15);
    AddReceiver(1, "+491721111111");
    DataModuleSMS->BannerToShow = -1;
    std::vector<TCSParam> more;
    more.push_back(TCSParam::Int("banner_to_show", 21));
    more.push_back(TCSParam::Table(
        "banners",
        CellTable({"banner_id", "banner_name", "banner", "file_type", "link", "wait_time"},
                  {{I(21), T("Eis"), B("BM"), T("bmp"), T(""), I(3000)}})));
    ASSERT_EQ(Run(50441, SuccessAnswer(0, 5, std::move(more))), 0);
    EXPECT_FALSE(LastRequest().HasParam("banners"));
    EXPECT_EQ(DataModuleSMS->BannerToShow, -1);
    EXPECT_EQ(BannerIds(), (std::vector<int>{5}));
}

TEST_F(SendUnit, FreeLimitReachedUpdatesOnlyTheFreeCount)
{
    SetCredits(300);
    AddReceiver(1, "+491721111111");
    DataModuleSMS->FreeSms = true;
    DataModuleSMS->BannerToShow = 9;
    std::vector<TCSParam> p;
    p.push_back(TCSParam::Int("have_free", 0));
    p.push_back(TCSParam::Int("remaining_credits", 1));
    p.push_back(TCSParam::Int("banner_to_show", 21));
    p.push_back(TCSParam::Table("sms_queue_ids",
                                CellTable({"receiver_id", "queue_ids"}, {{I(1), T("5,")}})));
    p.push_back(TCSParam::Text("latest_version", "9.9"));
    ASSERT_EQ(Run(50441, AnswerText(87, std::move(p))), 87);
    EXPECT_EQ(DataModuleSMS->FreeSmsLeft, 0);
    EXPECT_EQ(DataModuleSMS->FreeSmsDay, static_cast<int>(std::floor(kNow)));
    EXPECT_EQ(Credits(), 300);
    EXPECT_EQ(DataModuleSMS->BannerToShow, 9);
    EXPECT_EQ(Receivers(), (std::vector<ReceiverState>{{1, -1, ""}}));
    EXPECT_NE(AppParam->sLatestVersion, "9.9");
}

TEST_F(SendUnit, UnknownReceiverIdInTheAnswerTouchesNoRow)
{
    AddReceiver(1, "+491721111111");
    AddReceiver(2, "+491722222222");
    std::vector<TCSParam> p;
    p.push_back(TCSParam::Int("have_free", 5));
    p.push_back(TCSParam::Int("remaining_credits", 10));
    p.push_back(TCSParam::Table("sms_queue_ids", CellTable({"receiver_id", "queue_ids"},
                                                           {{I(9), T("90,")}, {I(1), T("11,")}})));
    p.push_back(ErrorCodes({{I(8), I(83)}}));
    ASSERT_EQ(Run(50441, AnswerText(0, std::move(p))), 0);
    EXPECT_EQ(Receivers(), (std::vector<ReceiverState>{{1, -1, "11,"}, {2, -1, ""}}));
}

struct BrokenAnswer
{
    const char* name;
    bool free;
    std::vector<std::string> drop; // parameters left out of a complete answer
    std::string dropBannerColumn;  // a column left out of the banner table
};

class SendBrokenAnswers : public MessagesUnit, public ::testing::WithParamInterface<BrokenAnswer>
{
};

TEST_P(SendBrokenAnswers, LeaveEveryTableAsItWas)
{
    const BrokenAnswer& c = GetParam();
    SetCredits(500);
    AddReceiver(1, "+491721111111");
    AddReceiver(2, "+49301234567");
    AddReceiver(3, "+491733333333");
    AddBanner(3, kNow - 1);
    DataModuleSMS->CommitBanners();
    DataModuleSMS->FreeSms = c.free;
    DataModuleSMS->FreeSmsLeft = 5;

    std::vector<std::string> bannerColumns = {"banner_id", "banner_name", "banner",
                                              "file_type", "link",        "wait_time"};
    std::vector<TCSParam> bannerRow = {I(21), T("Eis"), B("BM"), T("bmp"), T("l"), I(3000)};
    for (std::size_t i = 0; i < bannerColumns.size(); ++i) {
        if (bannerColumns[i] == c.dropBannerColumn) {
            bannerColumns.erase(bannerColumns.begin() + static_cast<long>(i));
            bannerRow.erase(bannerRow.begin() + static_cast<long>(i));
            break;
        }
    }
    std::vector<TCSParam> all;
    all.push_back(TCSParam::Int("have_free", 1));
    all.push_back(TCSParam::Int("remaining_credits", 455));
    all.push_back(
        TCSParam::Table("sms_queue_ids", CellTable({"receiver_id", "queue_ids"},
                                                   {{I(1), T("101,")}, {I(3), T("103,")}})));
    all.push_back(ErrorCodes({{I(2), I(82)}}));
    all.push_back(TCSParam::Int("banner_to_show", 21));
    all.push_back(TCSParam::Table("banners", CellTable(bannerColumns, {bannerRow})));
    std::vector<TCSParam> kept;
    for (TCSParam& p : all)
        if (std::find(c.drop.begin(), c.drop.end(), p.Name) == c.drop.end())
            kept.push_back(std::move(p));

    const std::string error = RunFailing(50441, AnswerText(0, std::move(kept)));
    EXPECT_FALSE(error.empty());

    const std::vector<ReceiverState> untouched = {{1, -1, ""}, {2, -1, ""}, {3, -1, ""}};
    EXPECT_EQ(Receivers(), untouched);
    EXPECT_EQ(Credits(), 500);
    EXPECT_EQ(BannerIds(), (std::vector<int>{3}));
    EXPECT_EQ(DataModuleSMS->FreeSmsLeft, 5);
    client->Reopen();
    EXPECT_EQ(Credits(), 500);
    EXPECT_EQ(BannerIds(), (std::vector<int>{3}));
}

INSTANTIATE_TEST_SUITE_P(
    Answers, SendBrokenAnswers,
    ::testing::Values(BrokenAnswer{"NoQueueIds", false, {"sms_queue_ids"}, ""},
                      BrokenAnswer{"NoCredits", false, {"remaining_credits"}, ""},
                      BrokenAnswer{"NoBannerToShow", true, {"banner_to_show"}, ""},
                      BrokenAnswer{"BannerWithoutLink", true, {}, "link"}),
    [](const auto& info) { return std::string(info.param.name); });
