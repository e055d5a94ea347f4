#pragma once

#include "protocol/csdatastring.h"
#include "protocol/cstable.h"
#include "service/servicedb.h"
#include "service/serviceoptions.h"

#include <cstdint>
#include <string>
#include <vector>

namespace riz::service {

// The customer row as the request handlers need it.
struct TCustomer
{
    std::int64_t Id = 0;
    std::string Email;
    std::string Password;
    bool Confirmed = false;
    int Credits = 0;
    std::string CellPhone;
};

// Everything one request handler works with. The handler runs inside a transaction under the
// core's lock; it fills Answer with its parameters and returns the result code.
struct TRequestContext
{
    TServiceDb& Db;
    const TServiceOptions& Options;
    const TCSDataString& Request;
    TCSDataString& Answer;
    double Now;
    TCustomer Customer; // valid for requests with a login, after the login check

    // Request parameters; a missing one raises ECSError 2002, an unreadable one 1003.
    std::string Text(const std::string& name) const { return Request.GetParam(name).AsString(); }
    std::string TextOr(const std::string& name, const std::string& fallback) const;
    int Int(const std::string& name) const { return Request.GetParam(name).AsInt(); }
    int IntOr(const std::string& name, int fallback) const;
    double DateTime(const std::string& name) const { return Request.GetParam(name).AsDateTime(); }
    TCSTable Table(const std::string& name) const { return Request.GetParam(name).AsTable(); }
    std::string Stream(const std::string& name) const { return Request.GetParam(name).AsStream(); }
    bool Has(const std::string& name) const { return Request.HasParam(name); }

    void Add(TCSParam param) { Answer.AddParam(std::move(param)); }
};

// Looks up a customer by address (ignoring case); false when there is none.
bool LoadCustomerByEmail(TServiceDb& db, const std::string& email, TCustomer& out);
bool LoadCustomerById(TServiceDb& db, std::int64_t id, TCustomer& out);

// Books a change of credit with its reason; the caller has checked the balance.
void ChangeCredits(TServiceDb& db, std::int64_t customerId, int change, const std::string& reason,
                   double now);
// A mail that the real service would send; it lands in the outbox.
void PostMail(TServiceDb& db, double now, const std::string& recipient, const std::string& subject,
              const std::string& body, const std::string& kind, const std::string& code = {});
// An SMS delivered to a simulated phone.
void DeliverToPhone(TServiceDb& db, double now, const std::string& number,
                    const std::string& sender, const std::string& text, const std::string& kind,
                    std::int64_t queueId = 0);

// A table with the given columns and no rows yet.
TCSTable MakeTable(const std::vector<std::string>& columns);
// The text of a cell by column name, or the fallback when the table has no such column.
std::string CellText(TCSTable& table, const std::string& column, const std::string& fallback = {});

// A random code of letters and digits, in groups joined by "-".
std::string RandomCode(int groups, int groupLength, bool digitsOnly = false);

// Request handlers, one per request name.
int HandleAddCustomer(TRequestContext& ctx);
int HandleGetCustomer(TRequestContext& ctx);
int HandleGetPayment(TRequestContext& ctx);
int HandleGetNeighborhood(TRequestContext& ctx);
int HandleChangeCustomer(TRequestContext& ctx);
int HandleSendPassword(TRequestContext& ctx);
int HandleConfirmRegistration(TRequestContext& ctx);
int HandleSendConfCode(TRequestContext& ctx);

int HandleSendSms(TRequestContext& ctx);
int HandleLoadSmsHistory(TRequestContext& ctx);
int HandleDeleteSmsHistory(TRequestContext& ctx);
int HandleSaveTree(TRequestContext& ctx);

int HandleSaveAddressBook(TRequestContext& ctx);
int HandleLoadAddressBook(TRequestContext& ctx);
int HandleSaveReminderList(TRequestContext& ctx);
int HandleLoadReminderList(TRequestContext& ctx);

int HandleGetSmsCredits(TRequestContext& ctx);
int HandleGetSmsPrices(TRequestContext& ctx);
int HandleGetPaymentOptions(TRequestContext& ctx);
int HandleLoadCreditChanges(TRequestContext& ctx);
int HandleBuyCredits(TRequestContext& ctx);
int HandleGetWelcomeCredits(TRequestContext& ctx);
int HandleGet0190Numbers(TRequestContext& ctx);
int HandleTellAFriend(TRequestContext& ctx);

int HandleLoadLogoCategories(TRequestContext& ctx);
int HandleLoadLogos(TRequestContext& ctx);
int HandleLoadTextCategories(TRequestContext& ctx);
int HandleLoadTexts(TRequestContext& ctx);
int HandleGetLatestVersion(TRequestContext& ctx);

// The payment tags a customer may use now, written one after the other.
std::string PaymentOptionsFor(const TServiceOptions& options, int credits);

} // namespace riz::service
