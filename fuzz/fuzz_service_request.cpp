// Raw request texts as riz-service receives them. The first byte chooses the way in:
//  0: the query value after "r=" (prefix and envelope), as from the network;
//  1: a decrypted message text, as behind the envelope;
//  2: an HTTP request head, as the listener reads it;
//  otherwise: the rest as the parameters of a request of a name chosen by the second byte,
//  behind a valid login, so that the handlers themselves see the input.
// The service must answer every input with a reply, never crash or hang.
#include "protocol/csdatastring.h"
#include "service/httplistener.h"
#include "service/servicecore.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

#ifndef RIZ_DEV_KEY
#define RIZ_DEV_KEY "keys/dev-service.key"
#endif

namespace {

riz::service::TServiceCore& Core()
{
    static std::unique_ptr<riz::service::TServiceCore> core = [] {
        const auto dir = std::filesystem::temp_directory_path() /
                         ("riz-fuzz-service-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        riz::service::TServiceOptions options;
        options.DbPath = (dir / "service.sqlite").string();
        options.Seed = true;
        riz::TZKPrivateKey key;
        std::string error;
        if (!key.Load(RIZ_DEV_KEY, error))
            std::abort();
        auto c = std::make_unique<riz::service::TServiceCore>(options, std::move(key));
        c->WithDb([](riz::service::TServiceDb& db) {
            db.Exec("INSERT INTO customers(email, password, confirmed, reg_code, credits, created) "
                    "VALUES('fuzz@example.org', 'geheim', 1, 'AAAAA-AAAAA-AAAAA-AAAAA-AAAAA', "
                    "100000, 0)");
        });
        return c;
    }();
    return *core;
}

const char* const kNames[] = {"ADD_CUSTOMER",
                              "GET_CUSTOMER",
                              "GET_PAYMENT",
                              "GET_NBRHD",
                              "CHANGE_CUSTOMER",
                              "SEND_PASSWORD",
                              "CONFIRM_REGISTRATION",
                              "SEND_CONF_CODE",
                              "SEND_SMS",
                              "LOAD_SMS_HISTORY",
                              "DELETE_SMS_HISTORY",
                              "SAVE_TREE",
                              "SAVE_SMS_ADDRESS_BOOK",
                              "LOAD_SMS_ADDRESS_BOOK",
                              "SAVE_REMINDER_LIST",
                              "LOAD_REMINDER_LIST",
                              "GET_SMS_CREDITS",
                              "GET_SMS_PRICES",
                              "GET_SMS_PAYMENT_OPTIONS",
                              "LOAD_CREDIT_CHANGES",
                              "BUY_CREDITS",
                              "GET_WELCOME_CREDITS",
                              "GET_0190_NUMBERS",
                              "TELL_A_FRIEND",
                              "LOAD_LOGO_CATEGORIES",
                              "LOAD_LOGOS",
                              "LOAD_TEXT_CATEGORIES",
                              "LOAD_TEXTS",
                              "GET_LATEST_VERSION"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const std::string rest(reinterpret_cast<const char*>(data) + 2, size - 2);
    auto& core = Core();
    switch (data[0] % 4) {
    case 0: {
        const auto reply =
            core.HandleRequestText(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
        if (reply.Status != 200 && reply.Status != 400)
            std::abort();
        break;
    }
    case 1: {
        riz::TCSDataString answer;
        answer.Decode(
            core.HandleMessage(std::string(reinterpret_cast<const char*>(data) + 1, size - 1)));
        if (!answer.HasParam("rslt"))
            std::abort();
        break;
    }
    case 2: {
        riz::service::THttpRequest req;
        riz::service::THttpHead head;
        const int status = riz::service::ParseRequestHead(
            std::string(reinterpret_cast<const char*>(data) + 1, size - 1), req, head);
        if (status == 0 &&
            (head.ContentLength > riz::service::THttpListener::kMaxBody || req.Path.size() > size))
            std::abort();
        break;
    }
    default: {
        const char* name = kNames[data[1] % (sizeof kNames / sizeof kNames[0])];
        const std::string text =
            std::string("<ZK TYPE=\"RQST\" NAME=\"") + name +
            "\" VER=\"1.00\">email_address=fuzz@example.org\\ppassword=geheim\\p" + rest + "</ZK>";
        riz::TCSDataString answer;
        answer.Decode(core.HandleMessage(text));
        if (!answer.HasParam("rslt"))
            std::abort();
        break;
    }
    }
    return 0;
}
