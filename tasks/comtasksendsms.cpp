#include "tasks/comtasksendsms.h"

#include "data/datamodulecust.h"
#include "data/datamodulesms.h"
#include "platform/clock.h"
#include "tasks/answertable.h"

#include <cmath>

namespace riz {

namespace {

// A banner is offered again when the client has not shown it for this many days.
constexpr double kBannerKeepDays = 14;

} // namespace

std::string HeldBannerList(double now)
{
    TClientDataSet& banners = DataModuleSMS->CDSBanner;
    std::string list;
    banners.First();
    while (!banners.Eof()) {
        if (banners.FieldByName("LAST_CALL").AsDateTime() + kBannerKeepDays < now) {
            banners.Delete(); // the next row becomes current
            continue;
        }
        list += "<" + std::to_string(banners.FieldByName("BANNER_ID").AsInteger()) + ">";
        banners.Next();
    }
    return list;
}

void TComTaskSendSMS::AssembleDataString(TCSDataString& message)
{
    TDataModuleSMS& sms = *DataModuleSMS;
    SetHeader(message, "SEND_SMS", "1.01");
    AddLogin(message);

    TCSTable receivers = RequestTable({"receiver_id", "receiver_number"});
    TClientDataSet& rows = sms.CDSSMSReceiver;
    for (int i = 0; i < rows.RecordCount(); ++i) {
        rows.SetRecNo(i + 1);
        receivers.AddRow();
        receivers.CurrentCell(0).SetInt(rows.FieldByName("RECEIVER_ID").AsInteger());
        receivers.CurrentCell(1).SetString(rows.FieldByName("RECEIVER_NUMBER").AsString());
    }

    message.AddParam(TCSParam::Text("sms_text", sms.SmsText));
    message.AddParam(TCSParam::Text("sms_sender", sms.SmsSender));
    message.AddParam(TCSParam::Table("receivers", receivers));
    if (!sms.SendNow)
        message.AddParam(TCSParam::DateTime("send_date", sms.SendDate));
    message.AddParam(TCSParam::Int("dont_split", sms.DontSplit ? 1 : 0));
    message.AddParam(TCSParam::Int("free", sms.FreeSms ? 1 : 0));
    if (sms.SendOption != "text" && sms.SendOption != "sms") {
        message.AddParam(TCSParam::Text("send_option", sms.SendOption));
        if (sms.SendOption == "sound" || !sms.OwnLogo)
            message.AddParam(TCSParam::Int("option_id", sms.OptionId));
        if (sms.SendOption == "logo") {
            message.AddParam(TCSParam::Text("logo_type", sms.OptionType));
            if (sms.OwnLogo)
                message.AddParam(TCSParam::Stream("own_logo_data", sms.OwnLogoData));
        }
    }
    if (sms.FreeSms)
        message.AddParam(TCSParam::Text("banners", HeldBannerList(Clock::Now())));
}

void TComTaskSendSMS::AnalyseResult(TCSDataString& answer)
{
    TDataModuleSMS& sms = *DataModuleSMS;
    const int r = answer.GetParam("rslt").AsInt();
    if (r == 0) {
        // Everything the answer must carry is read before the first table changes.
        const int haveFree = answer.GetParam("have_free").AsInt();
        const int credits = answer.GetParam("remaining_credits").AsInt();
        const TCSTable queueIds = answer.GetParam("sms_queue_ids").AsTable();
        const std::int32_t qReceiver = RequiredColumn(queueIds, "receiver_id");
        const std::int32_t qIds = RequiredColumn(queueIds, "queue_ids");
        TCSTable errors;
        std::int32_t eReceiver = -1;
        std::int32_t eCode = -1;
        const bool hasErrors = answer.HasParam("error_codes");
        if (hasErrors) {
            errors = answer.GetParam("error_codes").AsTable();
            eReceiver = RequiredColumn(errors, "receiver_id");
            eCode = RequiredColumn(errors, "error_code");
        }
        std::int32_t bannerToShow = sms.BannerToShow;
        TCSTable banners;
        const bool hasBanners = sms.FreeSms && answer.HasParam("banners");
        if (sms.FreeSms) {
            bannerToShow = answer.GetParam("banner_to_show").AsInt();
            if (hasBanners)
                banners = answer.GetParam("banners").AsTable();
        }

        TClientDataSet& customer = DataModuleCust->CDSCustomer;
        customer.Edit();
        customer.FieldByName("CREDITS").SetAsInteger(credits);
        customer.Post();

        // A row naming a receiver this send did not have is left aside: it must not land on
        // whatever receiver row happens to be current.
        TClientDataSet& receivers = sms.CDSSMSReceiver;
        for (std::int32_t i = 0; i < queueIds.RowCount(); ++i) {
            const std::int32_t id = queueIds.Cell(i, qReceiver).AsInt();
            if (!receivers.Locate("RECEIVER_ID", TValue(id)))
                continue;
            receivers.Edit();
            receivers.FieldByName("QUEUE_IDS").SetAsString(queueIds.Cell(i, qIds).AsString());
            receivers.Post();
        }
        for (std::int32_t i = 0; hasErrors && i < errors.RowCount(); ++i) {
            const std::int32_t id = errors.Cell(i, eReceiver).AsInt();
            if (!receivers.Locate("RECEIVER_ID", TValue(id)))
                continue;
            receivers.Edit();
            receivers.FieldByName("RESPONSE_CODE").SetAsInteger(errors.Cell(i, eCode).AsInt());
            receivers.Post();
        }

        if (hasBanners) {
            const std::int32_t cId = RequiredColumn(banners, "banner_id");
            const std::int32_t cName = RequiredColumn(banners, "banner_name");
            const std::int32_t cPicture = RequiredColumn(banners, "banner");
            const std::int32_t cType = RequiredColumn(banners, "file_type");
            const std::int32_t cLink = RequiredColumn(banners, "link");
            const std::int32_t cWait = RequiredColumn(banners, "wait_time");
            const double now = Clock::Now();
            TClientDataSet& table = sms.CDSBanner;
            for (std::int32_t i = 0; i < banners.RowCount(); ++i) {
                table.Append();
                table.FieldByName("BANNER_ID").SetAsInteger(banners.Cell(i, cId).AsInt());
                table.FieldByName("BANNER_NAME").SetAsString(banners.Cell(i, cName).AsString());
                table.FieldByName("BANNER").SetAsString(banners.Cell(i, cPicture).AsStream());
                table.FieldByName("FILE_TYPE").SetAsString(banners.Cell(i, cType).AsString());
                table.FieldByName("LINK").SetAsString(banners.Cell(i, cLink).AsString());
                table.FieldByName("WAIT_TIME").SetAsInteger(banners.Cell(i, cWait).AsInt());
                table.FieldByName("LAST_CALL").SetAsDateTime(now);
                table.Post();
            }
        }

        // Written only once everything is stored, so that a fault above leaves the files alone.
        DataModuleCust->CommitCustomerTables();
        // Also writes the deletions of old banners made while the request was built.
        if (sms.FreeSms)
            sms.CommitBanners();
        sms.FreeSmsLeft = haveFree;
        sms.FreeSmsDay = static_cast<int>(std::floor(Clock::Now()));
        if (sms.FreeSms)
            sms.BannerToShow = bannerToShow;
        CheckLatestVersion(answer);
    } else if (r == 87) {
        const int haveFree = answer.GetParam("have_free").AsInt();
        sms.FreeSmsLeft = haveFree;
        sms.FreeSmsDay = static_cast<int>(std::floor(Clock::Now()));
    }
    ReportDone(r);
}

} // namespace riz
