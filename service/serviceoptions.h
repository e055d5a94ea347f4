#pragma once

#include <string>

namespace riz::service {

// Everything the command line sets; the defaults are those of a development service.
struct TServiceOptions
{
    std::string DbPath;
    std::string KeyPath;
    bool PlainAnswers = false; // answers with header "00" and the message in the clear
    bool Redirect = false;     // every request answers 6 with ServerList
    std::string ServerList;
    std::string LatestVersion;      // sent as "latest_version" in every successful answer
    bool Seed = false;              // fill the catalog on start
    std::string InterruptionNotice; // served as the service-interruption notice when set
    bool CardPaymentsDisabled = false;
    int FreeSmsPerDay = 5;
    int TickMs = 1000; // scheduler period
    // A request that arrives again unchanged within this many seconds (the client resends the
    // same request text after a lost answer) gets the first answer again instead of being
    // carried out twice. 0 switches this off.
    int ReplayWindowSeconds = 0;
};

// The result codes of the service's own, beyond those of the individual requests.
namespace rslt {
inline constexpr int kOk = 0;
inline constexpr int kInternal = 1;       // the service failed; nothing was changed
inline constexpr int kMalformed = 2;      // a parameter is missing or cannot be read
inline constexpr int kUnknownRequest = 3; // no such request name
inline constexpr int kNotConfirmed = 5;
inline constexpr int kRedirect = 6;
inline constexpr int kBadLogin = 11;
inline constexpr int kEmailTaken = 21;
inline constexpr int kInvalidCustomerData = 22;
inline constexpr int kWrongConfCode = 23;
inline constexpr int kAddressExists = 31;
inline constexpr int kPaymentExists = 32;
inline constexpr int kPaymentUnknown = 33;
inline constexpr int kNeighborhoodUnknown = 41;
inline constexpr int kNoCredits = 86;
inline constexpr int kFreeLimit = 87;
inline constexpr int kOptionNotPossible = 91;
inline constexpr int kTooManyCreditsForFree = 92;
inline constexpr int kWrongCode = 93;
inline constexpr int kCardInvalid = 94;
inline constexpr int kCardsNotSupported = 95;
inline constexpr int kCardTypeNotSupported = 96;
inline constexpr int kWelcomeOtherPhone = 97;
inline constexpr int kWelcomePhoneUsed = 98;
inline constexpr int kWelcomeBadNumber = 99;
inline constexpr int kNothingThere = 101;
} // namespace rslt

// Receiver results of a send.
namespace rcv {
inline constexpr int kUnreadable = 80;
inline constexpr int kCountry = 81;
inline constexpr int kAreaCode = 82;
inline constexpr int kLength = 83;
inline constexpr int kTextRefused = 84;
inline constexpr int kLogoUnknown = 104;
inline constexpr int kLogoNotDeliverable = 105;
} // namespace rcv

// Prices in tenths of a credit, and the other amounts of the service's rules.
namespace rules {
inline constexpr int kSmsPrice = 15;
inline constexpr int kLogoPrice = 30;
inline constexpr int kRingPrice = 30;
inline constexpr int kFreeCredits = 500;       // "<free-50>"
inline constexpr int kFreeCreditsLimit = 100;  // more than 10 credits left: no free credits
inline constexpr int kCredits0190Small = 500;  // "<0190-50>"
inline constexpr int kCredits0190Large = 2000; // "<0190-200>"
inline constexpr int kWelcomeCredits = 100;
inline constexpr int kRecommendCredits = 100;
inline constexpr int kCharsPerPart = 160;
inline constexpr int kFreeChars = 130;
inline constexpr int kMaxParts = 10;
inline constexpr int kMaxReceivers = 100;
inline constexpr int kMaxCardCredits = 200000;
} // namespace rules

} // namespace riz::service
