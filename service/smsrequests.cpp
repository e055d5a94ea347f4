#include "service/bitmaps.h"
#include "service/phonecheck.h"
#include "service/requestcontext.h"
#include "service/smssplitter.h"

#include <cmath>
#include <set>

namespace riz::service {
namespace {

struct TReceiver
{
    int Id = 0;
    TPhoneCheck Phone;
    int Code = 0;
};

// The banner ids the client holds, from its "<3><17>" list.
std::set<int> HeldBanners(const std::string& list)
{
    std::set<int> ids;
    size_t pos = 0;
    while ((pos = list.find('<', pos)) != std::string::npos) {
        const size_t end = list.find('>', pos);
        if (end == std::string::npos)
            break;
        const std::string digits = list.substr(pos + 1, end - pos - 1);
        if (!digits.empty() && digits.size() < 10 &&
            digits.find_first_not_of("0123456789") == std::string::npos)
            ids.insert(std::stoi(digits));
        pos = end + 1;
    }
    return ids;
}

bool IsBlankText(const std::string& text)
{
    return text.find_first_not_of(" \r\n\t") == std::string::npos;
}

// Whether the catalog has an item of this id in a category of that type.
bool CatalogHas(TServiceDb& db, int id, const char* categoryType)
{
    auto st = db.Prepare("SELECT 1 FROM logos l JOIN logo_categories c ON c.id = l.category "
                         "WHERE l.id = ?1 AND c.type = ?2");
    st.Bind(1, id).Bind(2, categoryType);
    return st.Step();
}

std::string CatalogName(TServiceDb& db, int id)
{
    auto st = db.Prepare("SELECT name FROM logos WHERE id = ?1");
    st.Bind(1, id);
    return st.Step() ? st.Text(0) : std::string();
}

int FreeUsedToday(TServiceDb& db, std::int64_t customer, int today)
{
    auto st = db.Prepare("SELECT free_day, free_used FROM customers WHERE id = ?1");
    st.Bind(1, customer);
    if (!st.Step() || st.Int(0) != today)
        return 0;
    return st.Int(1);
}

} // namespace

int HandleSendSms(TRequestContext& ctx)
{
    const std::int64_t customer = ctx.Customer.Id;
    const std::string text = ctx.Text("sms_text");
    std::string sender = ctx.Text("sms_sender");
    if (sender.empty())
        sender = "Parvion";
    TCSTable receiverTable = ctx.Table("receivers");
    const bool keepWords = ctx.IntOr("dont_split", 0) == 1;
    const bool free = ctx.IntOr("free", 0) == 1;
    std::string option = ctx.TextOr("send_option", "sms");
    if (option == "text")
        option = "sms";
    if (option != "sms" && option != "logo" && option != "sound")
        return rslt::kMalformed;
    if (receiverTable.RowCount() > rules::kMaxReceivers)
        return rslt::kMalformed;

    double sendAt = ctx.Now;
    if (ctx.Has("send_date") && !free) {
        const double wanted = ctx.DateTime("send_date");
        if (wanted > ctx.Now)
            sendAt = wanted;
    }

    // What is sent, how many parts and at what price per part and receiver.
    std::vector<std::string> parts;
    int price = rules::kSmsPrice;
    int textCode = 0;
    int optionId = 0;
    std::string logoType;
    std::string deliveredText;
    if (option == "sms") {
        parts = SplitIntoParts(text, rules::kCharsPerPart, keepWords);
        if (IsBlankText(text) || parts.size() > static_cast<size_t>(rules::kMaxParts) ||
            (free && text.size() > static_cast<size_t>(rules::kFreeChars)))
            textCode = rcv::kTextRefused;
    } else {
        // Sponsors pay for text messages only.
        if (free)
            textCode = rcv::kTextRefused;
        parts = {text};
        price = option == "logo" ? rules::kLogoPrice : rules::kRingPrice;
        if (option == "logo") {
            logoType = ctx.TextOr("logo_type", "NOL");
            if (ctx.Has("own_logo_data")) {
                if (!IsMonoBitmap(ctx.Stream("own_logo_data"), 72, 14) ||
                    (logoType != "NOL" && logoType != "NGG"))
                    textCode = textCode ? textCode : rcv::kLogoUnknown;
                deliveredText = "[Eigenes Logo]";
            } else {
                optionId = ctx.Int("option_id");
                if (!CatalogHas(ctx.Db, optionId, "NOL_NGG") ||
                    (logoType != "NOL" && logoType != "NGG"))
                    textCode = textCode ? textCode : rcv::kLogoUnknown;
                deliveredText = std::string(logoType == "NGG" ? "[Gruppengrafik " : "[Logo ") +
                                CatalogName(ctx.Db, optionId) + "]";
            }
        } else {
            optionId = ctx.Int("option_id");
            if (!CatalogHas(ctx.Db, optionId, "RING"))
                textCode = textCode ? textCode : rcv::kLogoUnknown;
            deliveredText = "[Klingelton " + CatalogName(ctx.Db, optionId) + "]";
        }
    }

    std::vector<TReceiver> receivers;
    receiverTable.First();
    for (int r = 0; r < receiverTable.RowCount(); ++r, receiverTable.Next()) {
        TReceiver rcvr;
        rcvr.Id = receiverTable.CurrentCell("receiver_id").AsInt();
        rcvr.Phone = CheckReceiverNumber(receiverTable.CurrentCell("receiver_number").AsString());
        rcvr.Code = rcvr.Phone.Code;
        if (rcvr.Code == 0)
            rcvr.Code = textCode;
        if (rcvr.Code == 0 && option != "sms" && !AcceptsMedia(rcvr.Phone))
            rcvr.Code = rcv::kLogoNotDeliverable;
        receivers.push_back(rcvr);
    }
    int accepted = 0;
    for (const auto& r : receivers)
        accepted += r.Code == 0 ? 1 : 0;

    const int today = static_cast<int>(std::floor(ctx.Now));
    int freeUsed = FreeUsedToday(ctx.Db, customer, today);
    if (free && accepted > ctx.Options.FreeSmsPerDay - freeUsed) {
        ctx.Add(TCSParam::Int("have_free", ctx.Options.FreeSmsPerDay - freeUsed));
        return rslt::kFreeLimit;
    }
    const long long charge =
        free ? 0 : static_cast<long long>(accepted) * static_cast<long long>(parts.size()) * price;
    if (charge > ctx.Customer.Credits) {
        ctx.Add(TCSParam::Int("remaining_credits", ctx.Customer.Credits));
        return rslt::kNoCredits;
    }

    TCSTable queueIds = MakeTable({"receiver_id", "queue_ids"});
    TCSTable errorCodes = MakeTable({"receiver_id", "error_code"});
    const bool now = sendAt <= ctx.Now;
    for (const auto& r : receivers) {
        if (r.Code != 0) {
            errorCodes.AddRow();
            errorCodes.CurrentCell(0).SetInt(r.Id);
            errorCodes.CurrentCell(1).SetInt(r.Code);
            continue;
        }
        std::string ids;
        std::int64_t previous = 0;
        for (const auto& part : parts) {
            auto st = ctx.Db.Prepare(
                "INSERT INTO messages(customer_id, text, sender, receiver, sms_type, sent_date, "
                "send_at, delivered, option_id, logo_type, free, charged) "
                "VALUES(?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12)");
            st.Bind(1, customer).Bind(2, part).Bind(3, sender).Bind(4, r.Phone.Number);
            st.Bind(5, option).Bind(6, sendAt).Bind(7, sendAt).Bind(8, now ? 1 : 0);
            st.Bind(9, optionId).Bind(10, logoType).Bind(11, free ? 1 : 0);
            st.Bind(12, free ? 0 : price);
            st.Run();
            const std::int64_t id = ctx.Db.LastInsertId();
            if (previous)
                ctx.Db.Prepare("UPDATE messages SET next_queue_id = ?1 WHERE queue_id = ?2")
                    .Bind(1, id)
                    .Bind(2, previous)
                    .Run();
            if (now)
                DeliverToPhone(ctx.Db, ctx.Now, r.Phone.Number, sender,
                               option == "sms" ? part : deliveredText, option, id);
            previous = id;
            ids += std::to_string(id) + ",";
        }
        queueIds.AddRow();
        queueIds.CurrentCell(0).SetInt(r.Id);
        queueIds.CurrentCell(1).SetString(ids);
    }

    if (charge > 0)
        ChangeCredits(ctx.Db, customer, -static_cast<int>(charge), option, ctx.Now);
    if (free) {
        freeUsed += accepted;
        ctx.Db.Prepare("UPDATE customers SET free_day = ?1, free_used = ?2 WHERE id = ?3")
            .Bind(1, today)
            .Bind(2, freeUsed)
            .Bind(3, customer)
            .Run();
    }

    ctx.Add(TCSParam::Int("have_free", ctx.Options.FreeSmsPerDay - freeUsed));
    ctx.Add(TCSParam::Int("remaining_credits", ctx.Customer.Credits - static_cast<int>(charge)));
    ctx.Add(TCSParam::Table("sms_queue_ids", queueIds));
    if (errorCodes.RowCount() > 0)
        ctx.Add(TCSParam::Table("error_codes", errorCodes));

    if (free) {
        // The sponsors take turns; the client gets the pictures it does not hold yet.
        std::vector<int> ids;
        auto st = ctx.Db.Prepare("SELECT id FROM banners ORDER BY id");
        while (st.Step())
            ids.push_back(st.Int(0));
        const int show = ids.empty() ? 0 : ids[static_cast<size_t>(freeUsed) % ids.size()];
        ctx.Add(TCSParam::Int("banner_to_show", show));
        const std::set<int> held = HeldBanners(ctx.TextOr("banners", ""));
        TCSTable banners =
            MakeTable({"banner_id", "banner_name", "banner", "file_type", "link", "wait_time"});
        auto bs = ctx.Db.Prepare(
            "SELECT id, name, data, file_type, link, wait_time FROM banners ORDER BY id");
        while (bs.Step()) {
            if (held.count(bs.Int(0)))
                continue;
            banners.AddRow();
            banners.CurrentCell(0).SetInt(bs.Int(0));
            banners.CurrentCell(1).SetString(bs.Text(1));
            banners.CurrentCell(2).SetStream(bs.Text(2));
            banners.CurrentCell(3).SetString(bs.Text(3));
            banners.CurrentCell(4).SetString(bs.Text(4));
            banners.CurrentCell(5).SetInt(bs.Int(5));
        }
        if (banners.RowCount() > 0)
            ctx.Add(TCSParam::Table("banners", banners));
    }
    return rslt::kOk;
}

int HandleLoadSmsHistory(TRequestContext& ctx)
{
    TCSTable history = MakeTable({"queue_id", "next_queue_id", "text", "sender", "receiver",
                                  "sms_type", "tree", "sent_date"});
    auto st = ctx.Db.Prepare(
        "SELECT m.queue_id, CASE WHEN n.queue_id IS NULL THEN NULL ELSE m.next_queue_id END, "
        "m.text, m.sender, m.receiver, m.sms_type, m.tree, m.sent_date FROM messages m "
        "LEFT JOIN messages n ON n.queue_id = m.next_queue_id AND n.deleted = 0 "
        "WHERE m.customer_id = ?1 AND m.deleted = 0 ORDER BY m.queue_id");
    st.Bind(1, ctx.Customer.Id);
    while (st.Step()) {
        history.AddRow();
        history.CurrentCell(0).SetString(std::to_string(st.Int64(0)));
        history.CurrentCell(1).SetString(st.IsNull(1) ? std::string()
                                                      : std::to_string(st.Int64(1)));
        for (int i = 2; i <= 6; ++i)
            history.CurrentCell(i).SetString(st.Text(i));
        history.CurrentCell(7).SetDateTime(st.Double(7));
    }
    ctx.Add(TCSParam::Table("history", history));
    return rslt::kOk;
}

namespace {

bool ParseQueueId(const std::string& text, std::int64_t& id)
{
    if (text.empty() || text.size() > 18 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    id = std::stoll(text);
    return true;
}

} // namespace

int HandleDeleteSmsHistory(TRequestContext& ctx)
{
    TCSTable ids = ctx.Table("queue_id");
    ids.First();
    for (int r = 0; r < ids.RowCount(); ++r, ids.Next()) {
        std::int64_t id = 0;
        if (!ParseQueueId(ids.CurrentCell("queue_id").AsString(), id))
            continue;
        ctx.Db.Prepare("UPDATE messages SET deleted = 1 WHERE queue_id = ?1 AND customer_id = ?2")
            .Bind(1, id)
            .Bind(2, ctx.Customer.Id)
            .Run();
    }
    return rslt::kOk;
}

int HandleSaveTree(TRequestContext& ctx)
{
    TCSTable sent = ctx.Table("sent_sms");
    if (ctx.Has("received_sms"))
        ctx.Table("received_sms"); // read so that a broken table is refused as well
    sent.First();
    for (int r = 0; r < sent.RowCount(); ++r, sent.Next()) {
        std::int64_t id = 0;
        if (!ParseQueueId(sent.CurrentCell("queue_id").AsString(), id))
            continue;
        ctx.Db.Prepare("UPDATE messages SET tree = ?1 WHERE queue_id = ?2 AND customer_id = ?3")
            .Bind(1, sent.CurrentCell("tree").AsString())
            .Bind(2, id)
            .Bind(3, ctx.Customer.Id)
            .Run();
    }
    return rslt::kOk;
}

} // namespace riz::service
