#include "tasks/apptaskcontext.h"

#include "data/appparam.h"
#include "data/datamoduleaddresses.h"
#include "data/datamodulecust.h"
#include "data/datamodulereminder.h"
#include "data/datamodulesms.h"
#include "platform/clock.h"
#include "platform/strings.h"
#include "tasks/datacollectionencryption.h"

#include <algorithm>
#include <stdexcept>
#include <utility>
#include <vector>

namespace riz {

TServerNames& TAppTaskContext::Servers()
{
    return AppParam->ServerNames;
}

int TAppTaskContext::HttpPort() const
{
    return AppParam->iHttpPort;
}

TProxyInfo TAppTaskContext::Proxy() const
{
    return AppParam->ProxyInfo;
}

void TAppTaskContext::SaveParameters()
{
    AppParam->Save();
}

std::string TAppTaskContext::NoticeUrlFor(const std::string& websiteHome)
{
    // The path part of the configured notice address (string 50304).
    std::string path = LoadStr(50304);
    const size_t scheme = path.find("://");
    if (scheme != std::string::npos) {
        const size_t slash = path.find('/', scheme + 3);
        path = slash == std::string::npos ? "/" : path.substr(slash);
    }
    std::string host = websiteHome;
    const size_t s = host.find("://");
    if (s != std::string::npos)
        host = host.substr(s + 3);
    host = host.substr(0, host.find_first_of("/?#"));
    const size_t at = host.rfind('@');
    if (at != std::string::npos)
        host = host.substr(at + 1);
    const size_t colon = host.find(':');
    if (colon != std::string::npos)
        host = host.substr(0, colon);
    return "http://" + host + path;
}

std::string TAppTaskContext::InterruptionNoticeUrl() const
{
    return NoticeUrlFor(AppParam->sWebsiteHome);
}

std::string TAppTaskContext::LoginEmail() const
{
    return DataModuleCust->CDSCustomer.FieldByName("EMAIL_ADDRESS").AsString();
}

std::string TAppTaskContext::LoginPassword() const
{
    return DataModuleCust->CDSCustomer.FieldByName("PASSWORD").AsString();
}

void TAppTaskContext::StoreLatestVersion(const std::string& version)
{
    // A different version clears "do not ask again" and saves.
    AppParam->SetLatestVersion(version);
}

const TZKCrypt& TAppTaskContext::Crypt() const
{
    if (!DataCollectionEncryption)
        throw std::logic_error("no encryption holder");
    return DataCollectionEncryption->Crypt();
}

double TAppTaskContext::Now() const
{
    return Clock::Now();
}

int TAppTaskContext::ShowConnectionError(const std::string& errorText)
{
    return ConnectionErrorDialog ? ConnectionErrorDialog(errorText) : 2;
}

} // namespace riz

namespace riz {

std::function<void()> TAppTaskContext::MarkTables()
{
    std::vector<TClientDataSet*> tables;
    if (DataModuleCust)
        for (TClientDataSet* t : {&DataModuleCust->CDSCustomer, &DataModuleCust->CDSPaymentInfoTemp,
                                  &DataModuleCust->CDSNeighborhood})
            tables.push_back(t);
    if (DataModuleSMS) {
        TDataModuleSMS& m = *DataModuleSMS;
        for (TClientDataSet* t : {&m.CDSSMSHistory, &m.CDSSMSQueue, &m.CDSTree, &m.CDSLogoCategory,
                                  &m.CDSSoundCategory, &m.CDSTextCategory, &m.CDSLogos, &m.CDSSounds,
                                  &m.CDSTexts, &m.CDSDiscounts, &m.CDSBanner, &m.CDSSMSReceiver,
                                  &m.CDSCreditChanges})
            tables.push_back(t);
    }
    if (DataModuleAddresses)
        tables.push_back(&DataModuleAddresses->CDSAddressBook);
    if (DataModuleReminder)
        tables.push_back(&DataModuleReminder->CDSReminder);

    std::vector<std::pair<TClientDataSet*, TClientDataSet::TSavePoint>> marks;
    for (TClientDataSet* t : tables)
        if (t->Active())
            marks.emplace_back(t, t->SavePoint());
    return [marks] {
        for (const auto& [table, point] : marks) {
            // A table written to its file meanwhile has a shorter record; what was written
            // stays, what came after it goes.
            table->RollbackTo(std::min(point, table->SavePoint()));
        }
    };
}

} // namespace riz
