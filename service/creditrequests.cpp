#include "service/phonecheck.h"
#include "service/requestcontext.h"

#include <algorithm>
#include <ctime>

namespace riz::service {
namespace {

int CurrentCredits(TServiceDb& db, std::int64_t customer)
{
    auto st = db.Prepare("SELECT credits FROM customers WHERE id = ?1");
    st.Bind(1, customer);
    return st.Step() ? st.Int(0) : 0;
}

// A recommended customer's first bought credits earn the recommender a bonus, once.
void RewardRecommender(TRequestContext& ctx)
{
    auto st = ctx.Db.Prepare(
        "SELECT recommended_by FROM customers WHERE id = ?1 AND recommended_by IS NOT NULL "
        "AND recommend_rewarded = 0");
    st.Bind(1, ctx.Customer.Id);
    if (!st.Step())
        return;
    const std::int64_t recommender = st.Int64(0);
    ctx.Db.Prepare("UPDATE customers SET recommend_rewarded = 1 WHERE id = ?1")
        .Bind(1, ctx.Customer.Id)
        .Run();
    TCustomer other;
    if (LoadCustomerById(ctx.Db, recommender, other))
        ChangeCredits(ctx.Db, recommender, rules::kRecommendCredits, "<recommend>", ctx.Now);
}

bool LuhnValid(const std::string& digits)
{
    int sum = 0;
    bool twice = false;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        int d = *it - '0';
        if (twice) {
            d *= 2;
            if (d > 9)
                d -= 9;
        }
        sum += d;
        twice = !twice;
    }
    return sum % 10 == 0;
}

int CheckCard(TRequestContext& ctx, int& credits)
{
    if (ctx.Options.CardPaymentsDisabled)
        return rslt::kCardsNotSupported;
    std::string type = ctx.Text("cc_type");
    std::transform(type.begin(), type.end(), type.begin(), ::toupper);
    // The client sends the card type's shown name; the codes are accepted as well.
    const bool visa = type == "VISA";
    const bool master = type == "MC" || type == "MASTERCARD/EUROCARD" || type == "MASTERCARD";
    if (!visa && !master)
        return rslt::kCardTypeNotSupported;
    std::string digits;
    for (char c : ctx.Text("cc_number")) {
        if (c == ' ')
            continue;
        if (c < '0' || c > '9')
            return rslt::kCardInvalid;
        digits += c;
    }
    if (digits.size() != 16 || !LuhnValid(digits) || (visa && digits[0] != '4') ||
        (master && digits[0] != '5'))
        return rslt::kCardInvalid;
    if (ctx.Text("cc_owner").find_first_not_of(' ') == std::string::npos)
        return rslt::kCardInvalid;
    const int month = ctx.Int("cc_exp_month");
    const int year = ctx.Int("cc_exp_year");
    const time_t t = time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    const int current = (local.tm_year + 1900) * 100 + local.tm_mon + 1;
    const long long expiry = static_cast<long long>(year) * 100 + month;
    if (month < 1 || month > 12 || expiry < current || expiry > current + 1000)
        return rslt::kCardInvalid;
    credits = ctx.Int("credits");
    if (credits <= 0 || credits > rules::kMaxCardCredits)
        return rslt::kCardInvalid;
    return rslt::kOk;
}

} // namespace

std::string PaymentOptionsFor(const TServiceOptions& options, int credits)
{
    std::string tags;
    if (credits <= rules::kFreeCreditsLimit)
        tags += "<free-50>";
    tags += "<0190-50><0190-200><pre-wire>";
    if (!options.CardPaymentsDisabled)
        tags += "<cc2>";
    return tags;
}

int HandleGetSmsCredits(TRequestContext& ctx)
{
    ctx.Add(TCSParam::Int("credits", ctx.Customer.Credits));
    return rslt::kOk;
}

int HandleGetSmsPrices(TRequestContext& ctx)
{
    TCSTable discounts = MakeTable({"amount", "percentage"});
    const std::pair<int, double> steps[] = {{50, 5.0}, {100, 10.0}, {250, 15.0}};
    for (const auto& [amount, percent] : steps) {
        discounts.AddRow();
        discounts.CurrentCell(0).SetInt(amount);
        discounts.CurrentCell(1).SetFloat(percent);
    }
    ctx.Add(TCSParam::Table("discounts", discounts));
    ctx.Add(TCSParam::Text("account_owner", "Parvion RIZ Avivaze"));
    ctx.Add(TCSParam::Text("account_number", "1234567890"));
    ctx.Add(TCSParam::Text("routing_number", "10020030"));
    ctx.Add(TCSParam::Text("bank_name", "Beispielbank Berlin"));
    ctx.Add(TCSParam::Int("sms_price", rules::kSmsPrice));
    ctx.Add(TCSParam::Int("logo_price", rules::kLogoPrice));
    ctx.Add(TCSParam::Int("ring_price", rules::kRingPrice));
    ctx.Add(TCSParam::Float("vat", 16.0));
    ctx.Add(TCSParam::Float("discount_cc", 2.21));
    ctx.Add(TCSParam::Float("discount_pre_wire", 5.21));
    return rslt::kOk;
}

int HandleGetPaymentOptions(TRequestContext& ctx)
{
    ctx.Add(
        TCSParam::Text("payment_options", PaymentOptionsFor(ctx.Options, ctx.Customer.Credits)));
    return rslt::kOk;
}

int HandleLoadCreditChanges(TRequestContext& ctx)
{
    TCSTable changes = MakeTable({"change", "reason", "date"});
    auto st = ctx.Db.Prepare(
        "SELECT change, reason, date FROM credit_changes WHERE customer_id = ?1 ORDER BY id");
    st.Bind(1, ctx.Customer.Id);
    while (st.Step()) {
        changes.AddRow();
        changes.CurrentCell(0).SetInt(st.Int(0));
        changes.CurrentCell(1).SetString(st.Text(1));
        changes.CurrentCell(2).SetDateTime(st.Double(2));
    }
    ctx.Add(TCSParam::Table("changes", changes));
    return rslt::kOk;
}

int HandleBuyCredits(TRequestContext& ctx)
{
    const std::string option = ctx.Text("payment_option");
    const std::int64_t id = ctx.Customer.Id;
    int result = rslt::kOk;
    if (option == "<free-50>") {
        if (ctx.Customer.Credits > rules::kFreeCreditsLimit)
            result = rslt::kTooManyCreditsForFree;
        else
            ChangeCredits(ctx.Db, id, rules::kFreeCredits, option, ctx.Now);
    } else if (option == "<0190-50>" || option == "<0190-200>") {
        std::string code = ctx.Text("credit_code");
        code.erase(0, code.find_first_not_of(' '));
        code.erase(code.find_last_not_of(' ') + 1);
        auto st = ctx.Db.Prepare(
            "SELECT code FROM code_pool WHERE code = ?1 COLLATE NOCASE AND option = ?2 "
            "AND used_by IS NULL");
        st.Bind(1, code).Bind(2, option);
        if (code.empty() || !st.Step()) {
            result = rslt::kWrongCode;
        } else {
            ctx.Db.Prepare("UPDATE code_pool SET used_by = ?1, used_at = ?2 WHERE code = ?3")
                .Bind(1, id)
                .Bind(2, ctx.Now)
                .Bind(3, st.Text(0))
                .Run();
            ChangeCredits(ctx.Db, id,
                          option == "<0190-50>" ? rules::kCredits0190Small
                                                : rules::kCredits0190Large,
                          option, ctx.Now);
            RewardRecommender(ctx);
        }
    } else if (option == "<welcome>") {
        const std::string code = ctx.Text("credit_code");
        auto st = ctx.Db.Prepare(
            "SELECT welcome_code, welcome_sent, welcome_redeemed FROM customers WHERE id = ?1");
        st.Bind(1, id);
        st.Step();
        if (st.Int(1) == 0 || st.Text(0).empty() || code != st.Text(0))
            result = rslt::kWrongCode;
        else if (st.Int(2) != 0)
            result = rslt::kOptionNotPossible;
        else {
            ctx.Db.Prepare("UPDATE customers SET welcome_redeemed = 1 WHERE id = ?1")
                .Bind(1, id)
                .Run();
            ChangeCredits(ctx.Db, id, rules::kWelcomeCredits, option, ctx.Now);
        }
    } else if (option == "<cc2>") {
        int credits = 0;
        result = CheckCard(ctx, credits);
        if (result == rslt::kOk) {
            ChangeCredits(ctx.Db, id, credits, option, ctx.Now);
            RewardRecommender(ctx);
        }
    } else {
        // "<pre-wire>" is paid outside the program; unknown tags are not possible either.
        result = rslt::kOptionNotPossible;
    }
    const int credits = CurrentCredits(ctx.Db, id);
    ctx.Add(TCSParam::Int("credits", credits));
    ctx.Add(TCSParam::Text("payment_options", PaymentOptionsFor(ctx.Options, credits)));
    return result;
}

int HandleGetWelcomeCredits(TRequestContext& ctx)
{
    const std::string number = ctx.Text("cell_phone");
    if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos)
        return rslt::kWelcomeBadNumber;
    const TPhoneCheck phone = CheckReceiverNumber("+" + number);
    if (phone.Code != 0 || phone.CountryCode != "49")
        return rslt::kWelcomeBadNumber;
    const std::string digits = phone.Number.substr(1);

    auto st = ctx.Db.Prepare(
        "SELECT welcome_sent, welcome_sent_to, welcome_code FROM customers WHERE id = ?1");
    st.Bind(1, ctx.Customer.Id);
    st.Step();
    const bool sent = st.Int(0) != 0;
    if (sent && st.Text(1) != digits)
        return rslt::kWelcomeOtherPhone;
    auto used = ctx.Db.Prepare(
        "SELECT 1 FROM customers WHERE welcome_sent = 1 AND welcome_sent_to = ?1 AND id <> ?2");
    used.Bind(1, digits).Bind(2, ctx.Customer.Id);
    if (used.Step())
        return rslt::kWelcomePhoneUsed;

    // Asking again for the same phone sends the same code again.
    const std::string code = sent ? st.Text(2) : RandomCode(1, 6, true);
    ctx.Db
        .Prepare("UPDATE customers SET welcome_sent = 1, welcome_sent_to = ?1, welcome_code = ?2, "
                 "cell_phone = ?3 WHERE id = ?4")
        .Bind(1, digits)
        .Bind(2, code)
        .Bind(3, phone.Number)
        .Bind(4, ctx.Customer.Id)
        .Run();
    DeliverToPhone(ctx.Db, ctx.Now, phone.Number, "Parvion",
                   "Willkommen bei RIZ Avivaze! Ihr Credit-Code: " + code, "welcome");
    return rslt::kOk;
}

int HandleGet0190Numbers(TRequestContext& ctx)
{
    TCSTable numbers = MakeTable({"credits", "number"});
    auto st = ctx.Db.Prepare("SELECT credits, number FROM numbers_0190 ORDER BY credits");
    while (st.Step()) {
        numbers.AddRow();
        numbers.CurrentCell(0).SetInt(st.Int(0));
        numbers.CurrentCell(1).SetString(st.Text(1));
    }
    ctx.Add(TCSParam::Table("0190credits", numbers));
    return rslt::kOk;
}

int HandleTellAFriend(TRequestContext& ctx)
{
    TCSTable friends = ctx.Table("friends");
    if (friends.RowCount() > 20)
        return rslt::kMalformed;
    friends.First();
    for (int r = 0; r < friends.RowCount(); ++r, friends.Next()) {
        const std::string name = friends.CurrentCell("name").AsString();
        const std::string email = friends.CurrentCell("email_address").AsString();
        if (name.empty() || email.find('@') == std::string::npos || email.size() > 200)
            continue;
        ctx.Db.Prepare("INSERT INTO friends(recommender, name, email, created) VALUES(?1,?2,?3,?4)")
            .Bind(1, ctx.Customer.Id)
            .Bind(2, name)
            .Bind(3, email)
            .Bind(4, ctx.Now)
            .Run();
        PostMail(ctx.Db, ctx.Now, email, "Eine Empfehlung fuer Sie: RIZ Avivaze",
                 "Hallo " + name + ",\n\n" + ctx.Customer.Email +
                     " empfiehlt Ihnen RIZ Avivaze, den SMS-Versand vom PC aus.\n",
                 "recommend");
    }
    return rslt::kOk;
}

} // namespace riz::service
