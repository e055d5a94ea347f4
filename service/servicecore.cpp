#include "service/servicecore.h"

#include "platform/calendar.h"
#include "protocol/cserror.h"
#include "protocol/digest.h"
#include "service/requestcontext.h"
#include "service/scheduler.h"
#include "service/seeddata.h"

#include <cstdio>
#include <ctime>
#include <map>
#include <sys/time.h>

namespace riz::service {
namespace {

struct TRequestKind
{
    int (*Handler)(TRequestContext&);
    bool Login;     // the request carries "email_address" and "password"
    bool Confirmed; // an unconfirmed account gets 5
    // A refused request changes nothing, except this one: the reminder list stored with
    // e-mail instead of SMS reminders along with its 86.
    int KeepOnResult = -1;
};

const std::map<std::string, TRequestKind>& RequestKinds()
{
    static const std::map<std::string, TRequestKind> kinds = {
        {"ADD_CUSTOMER", {HandleAddCustomer, false, false}},
        {"GET_CUSTOMER", {HandleGetCustomer, true, false}},
        {"GET_PAYMENT", {HandleGetPayment, true, false}},
        {"GET_NBRHD", {HandleGetNeighborhood, false, false}},
        {"CHANGE_CUSTOMER", {HandleChangeCustomer, true, false}},
        {"SEND_PASSWORD", {HandleSendPassword, false, false}},
        {"CONFIRM_REGISTRATION", {HandleConfirmRegistration, false, false}},
        {"SEND_CONF_CODE", {HandleSendConfCode, true, false}},
        {"SEND_SMS", {HandleSendSms, true, true}},
        {"LOAD_SMS_HISTORY", {HandleLoadSmsHistory, true, false}},
        {"DELETE_SMS_HISTORY", {HandleDeleteSmsHistory, true, false}},
        {"SAVE_TREE", {HandleSaveTree, true, false}},
        {"SAVE_SMS_ADDRESS_BOOK", {HandleSaveAddressBook, true, true}},
        {"LOAD_SMS_ADDRESS_BOOK", {HandleLoadAddressBook, true, false}},
        {"SAVE_REMINDER_LIST", {HandleSaveReminderList, true, true, rslt::kNoCredits}},
        {"LOAD_REMINDER_LIST", {HandleLoadReminderList, true, false}},
        {"GET_SMS_CREDITS", {HandleGetSmsCredits, true, false}},
        {"GET_SMS_PRICES", {HandleGetSmsPrices, true, false}},
        {"GET_SMS_PAYMENT_OPTIONS", {HandleGetPaymentOptions, true, false}},
        {"LOAD_CREDIT_CHANGES", {HandleLoadCreditChanges, true, false}},
        {"BUY_CREDITS", {HandleBuyCredits, true, true}},
        {"GET_WELCOME_CREDITS", {HandleGetWelcomeCredits, true, true}},
        {"GET_0190_NUMBERS", {HandleGet0190Numbers, true, false}},
        {"TELL_A_FRIEND", {HandleTellAFriend, true, false}},
        {"LOAD_LOGO_CATEGORIES", {HandleLoadLogoCategories, true, false}},
        {"LOAD_LOGOS", {HandleLoadLogos, true, false}},
        {"LOAD_TEXT_CATEGORIES", {HandleLoadTextCategories, true, false}},
        {"LOAD_TEXTS", {HandleLoadTexts, true, false}},
        {"GET_LATEST_VERSION", {HandleGetLatestVersion, true, false}},
    };
    return kinds;
}

// The request log keeps what tests and the admin page need, not unbounded texts.
constexpr size_t kMaxLoggedMessage = 64 * 1024;

std::string AnswerText(const std::string& name, const std::string& ver, int result,
                       TCSDataString* params)
{
    TCSDataString answer;
    answer.Type = "ANSW";
    answer.Name = name;
    answer.Ver = ver;
    answer.AddParam(TCSParam::Int("rslt", result));
    if (params) {
        for (auto& p : params->Params)
            if (!answer.HasParam(p->Name))
                answer.Params.push_back(std::move(p));
    }
    answer.Encode();
    return answer.Text;
}

bool IsPlainVersion(const std::string& v)
{
    if (v.empty() || v.size() > 20)
        return false;
    for (char c : v)
        if (!(c >= '0' && c <= '9') && c != '.')
            return false;
    return true;
}

} // namespace

TServiceCore::TServiceCore(TServiceOptions options, TZKPrivateKey key)
    : m_options(std::move(options)), m_key(std::move(key)), m_envelope(m_key),
      m_db(m_options.DbPath)
{
    std::lock_guard lock(m_mutex);
    SeedBaseData(m_db);
    if (m_options.Seed)
        SeedCatalog(m_db);
}

double TServiceCore::Now()
{
    timeval tv{};
    gettimeofday(&tv, nullptr);
    std::tm local{};
    const time_t secs = tv.tv_sec;
    localtime_r(&secs, &local);
    const double date = calendar::DateValue(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    const double seconds = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec +
                           static_cast<double>(tv.tv_usec) / 1e6;
    return date + seconds / 86400.0;
}

void TServiceCore::WithDb(const std::function<void(TServiceDb&)>& f)
{
    std::lock_guard lock(m_mutex);
    f(m_db);
}

THttpReply TServiceCore::HandleRequestText(const std::string& requestText)
{
    TZKOpenedRequest opened;
    std::string error;
    if (!m_envelope.OpenRequest(requestText, opened, error)) {
        std::lock_guard lock(m_mutex);
        LogRequest(Now(), "", "", -1, "", error);
        return {400, "bad request", "text/plain"};
    }
    std::string replayKey;
    if (m_options.ReplayWindowSeconds > 0) {
        // The plaintext's time stamp and digest name one request text of one client run.
        const auto digest = TZKDigest::Of(opened.TimeStamp + " " + opened.Message);
        char hex[48];
        std::snprintf(hex, sizeof hex, "%08x%08x%08x%08x%08x", digest[0], digest[1], digest[2],
                      digest[3], digest[4]);
        replayKey = opened.TimeStamp + ":" + hex;
    }
    const std::string answer = HandleMessage(opened.Message, replayKey);
    THttpReply reply;
    if (m_options.PlainAnswers)
        reply.Body = TZKServerEnvelope::AnswerHeader(false) + answer;
    else
        reply.Body = TZKServerEnvelope::AnswerHeader(true) +
                     TZKServerEnvelope::EncryptAnswer(answer, opened.Key);
    return reply;
}

std::string TServiceCore::HandleMessage(const std::string& messageText,
                                        const std::string& replayKey)
{
    const double now = Now();
    TCSDataString request;
    try {
        request.Decode(messageText);
    } catch (const ECSError& e) {
        std::lock_guard lock(m_mutex);
        LogRequest(now, "", "", rslt::kMalformed, messageText,
                   "message does not decode: " + std::to_string(e.Code));
        return AnswerText("", "", rslt::kMalformed, nullptr);
    }

    const auto& kinds = RequestKinds();
    const auto kind = kinds.find(request.Name);
    // Only names of our own go back into the answer's attributes, never text from outside.
    const std::string name = kind != kinds.end() ? kind->first : std::string();
    const std::string ver = IsPlainVersion(request.Ver) ? request.Ver : std::string();

    std::string email;
    if (request.HasParam("email_address")) {
        try {
            email = request.GetParam("email_address").AsString();
        } catch (const ECSError&) {
        }
    }

    if (m_options.Redirect) {
        TCSDataString params;
        params.AddParam(TCSParam::Text("server_list", m_options.ServerList));
        std::lock_guard lock(m_mutex);
        LogRequest(now, name, email, rslt::kRedirect, messageText, "");
        return AnswerText(name, ver, rslt::kRedirect, &params);
    }

    if (request.Type != "RQST" || kind == kinds.end()) {
        std::lock_guard lock(m_mutex);
        const int code = request.Type != "RQST" ? rslt::kMalformed : rslt::kUnknownRequest;
        LogRequest(now, request.Type == "RQST" ? "?" : "", email, code, messageText,
                   "unknown request");
        return AnswerText(name, ver, code, nullptr);
    }

    TCSDataString params;
    int result = rslt::kOk;
    std::string error;
    std::lock_guard lock(m_mutex);
    const double window = m_options.ReplayWindowSeconds / 86400.0;
    if (!replayKey.empty()) {
        try {
            auto seen = m_db.Prepare("SELECT answer FROM answered_requests WHERE key = ?1 AND "
                                     "at >= ?2");
            seen.Bind(1, replayKey).Bind(2, now - window);
            if (seen.Step()) {
                LogRequest(now, name, email, -2, messageText,
                           "repeated request: first answer sent again");
                return seen.Text(0);
            }
        } catch (const EServiceDbError&) {
            // Without the table of answers the request is simply carried out.
        }
    }
    TRequestContext ctx{m_db, m_options, request, params, now, {}};
    try {
        TTransaction tx(m_db);
        if (kind->second.Login) {
            const std::string password = request.GetParam("password").AsString();
            email = request.GetParam("email_address").AsString();
            if (!LoadCustomerByEmail(m_db, email, ctx.Customer) ||
                ctx.Customer.Password != password)
                result = rslt::kBadLogin;
            else if (kind->second.Confirmed && !ctx.Customer.Confirmed)
                result = rslt::kNotConfirmed;
        }
        if (result == rslt::kOk)
            result = kind->second.Handler(ctx);
        if (result == rslt::kOk || result == kind->second.KeepOnResult)
            tx.Commit();
    } catch (const EServiceDbError& e) {
        result = rslt::kInternal;
        error = e.what();
    } catch (const ECSError& e) {
        result = rslt::kMalformed;
        error = "parameter fault " + std::to_string(e.Code) + " " + e.DetailString;
    } catch (const std::exception& e) {
        result = rslt::kMalformed;
        error = e.what();
    }
    if (result == rslt::kOk && !m_options.LatestVersion.empty() &&
        !params.HasParam("latest_version"))
        params.AddParam(TCSParam::Text("latest_version", m_options.LatestVersion));
    // A failed handler's half-built answer is not sent; a refusal keeps what it prepared.
    const bool keepParams = result != rslt::kInternal && result != rslt::kMalformed;
    LogRequest(now, name, email, result, messageText, error);
    const std::string answer = AnswerText(name, ver, result, keepParams ? &params : nullptr);
    if (!replayKey.empty()) {
        try {
            m_db.Prepare("DELETE FROM answered_requests WHERE at < ?1").Bind(1, now - window).Run();
            m_db.Prepare(
                    "INSERT OR REPLACE INTO answered_requests(key, at, answer) VALUES(?1,?2,?3)")
                .Bind(1, replayKey)
                .Bind(2, now)
                .Bind(3, answer)
                .Run();
        } catch (const EServiceDbError&) {
        }
    }
    return answer;
}

void TServiceCore::LogRequest(double now, const std::string& name, const std::string& email,
                              int result, const std::string& message, const std::string& error)
{
    try {
        m_db.Prepare("INSERT INTO request_log(at, name, email, rslt, message, error) "
                     "VALUES(?1,?2,?3,?4,?5,?6)")
            .Bind(1, now)
            .Bind(2, name)
            .Bind(3, email.substr(0, 200))
            .Bind(4, result)
            .Bind(5, message.substr(0, kMaxLoggedMessage))
            .Bind(6, error.substr(0, 1000))
            .Run();
    } catch (const EServiceDbError&) {
        // The log is a convenience; a full disk must not turn an answer into a failure.
    }
}

void TServiceCore::RunScheduler(double now)
{
    std::lock_guard lock(m_mutex);
    try {
        RunDueWork(m_db, m_options, now);
    } catch (const std::exception&) {
        // Retried on the next pass; the work items are marked done only inside their commit.
    }
}

} // namespace riz::service
