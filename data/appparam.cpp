#include "data/appparam.h"

#include "platform/autostart.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "platform/strings.h"

namespace riz {

TAppParam* AppParam = nullptr;

const char* const TAppParam::kDefaultServerList =
    "sms1.riz-avivaze.de*;sms2.riz-avivaze.de;sms3.riz-avivaze.de;sms4.riz-avivaze.de;";
const char* const TAppParam::kDefaultWebsiteHome = "http://www.parvion.de/";
const char* const TAppParam::kDefaultClientSiteHome =
    "http://download.riz-avivaze.de/riz-avivaze/client-sites/home.html";
const char* const TAppParam::kDefaultClientSiteHelp =
    "http://download.riz-avivaze.de/riz-avivaze/client-sites/help.html";
const char* const TAppParam::kDefaultClientSiteSupport =
    "http://download.riz-avivaze.de/riz-avivaze/client-sites/support.html";

namespace {
constexpr int kProgramVersionId = 50001;
} // namespace

TAppParam::TAppParam(const std::string& programDir)
    : m_ini(programDir + "/RIZAvivaze.ini"), m_programDir(programDir)
{
    Load();
}

TAppParam::~TAppParam()
{
    try {
        Save();
    } catch (...) {
        // Nothing can be reported any more at the end; the last successful save stands.
    }
}

void TAppParam::Load()
{
    m_ini.Reload();
    const TIniFile& f = m_ini;
    bOneUserProfileFinished = f.ReadBool("user", "bOneUserProfileFinished", false);
    bPromptForUser = f.ReadBool("user", "bPromptForUser", false);
    sDefaultUser = f.ReadString("user", "sDefaultUser", "");
    ServerNames = TServerNames();
    ServerNames.SetServerList(f.ReadString("servers", "sServerList", kDefaultServerList));
    iConnectionSpeed = f.ReadInteger("internet", "iConnectionSpeed", 0);
    iHttpPort = f.ReadInteger("internet", "iHttpPort", 80);
    ProxyInfo.Enabled = f.ReadBool("internet", "bProxyEnabled", false);
    ProxyInfo.ProxyType = f.ReadString("internet", "sProxyType", "SOCKS4");
    ProxyInfo.Address = f.ReadString("internet", "sProxyAddress", "0.0.0.0");
    ProxyInfo.Port = f.ReadInteger("internet", "iProxyPort", 0);
    ProxyInfo.UserCode = f.ReadString("internet", "sProxyUserCode", "");
    ProxyInfo.Password = f.ReadString("internet", "sProxyPassword", "");
    sWebsiteHome = f.ReadString("web-servers", "sWebsiteHome", kDefaultWebsiteHome);
    sClientSiteHome = f.ReadString("web-servers", "sClientSiteHome", kDefaultClientSiteHome);
    sClientSiteHelp = f.ReadString("web-servers", "sClientSiteHelp", kDefaultClientSiteHelp);
    sClientSiteSupport =
        f.ReadString("web-servers", "sClientSiteSupport", kDefaultClientSiteSupport);
    sValidPaymentOptions = f.ReadString("other-data", "sValidPaymentOptions", "");
    sLatestVersion = f.ReadString("update", "sLatestVersion", LoadStr(kProgramVersionId));
    bDontAskForUpdates = f.ReadBool("update", "bDontAskForUpdates", false);
    dtLastAskedForUpdate = f.ReadDateTime("update", "dtLastAskedForUpdate", 0);
    dtLastAddrBookChange = f.ReadDateTime("addressbook", "dtLastAddrBookChange", 0);
    dtLastAddrBookSave = f.ReadDateTime("addressbook", "dtLastAddrBookSave", 0);
    bDoNotRemindSaving = f.ReadBool("addressbook", "bDoNotRemindSaving", false);
    sLastSelectedNode = f.ReadString("history-tree", "sLastSelectedNode", "");
    iSMSPrice = f.ReadInteger("prices/discounts", "iSMSPrice", 15);
    iLogoPrice = f.ReadInteger("prices/discounts", "iLogoPrice", 100);
    iRingPrice = f.ReadInteger("prices/discounts", "iRingPrice", 100);
    fVAT = f.ReadFloat("prices/discounts", "fVAT", 16.0);
    fDiscountCC = f.ReadFloat("prices/discounts", "fDiscountCC", 0);
    fDiscountPreWire = f.ReadFloat("prices/discounts", "fDiscountPreWire", 0);
    dtPricesDiscountsLastUpdated =
        f.ReadDateTime("prices/discounts", "dtPricesDiscountsLastUpdated", 0);
    sPreWireAccountOwner = f.ReadString("bank", "sPreWireAccountOwner", "");
    sPreWireAccountNumber = f.ReadString("bank", "sPreWireAccountNumber", "");
    sPreWireRoutingNumber = f.ReadString("bank", "sPreWireRoutingNumber", "");
    sPreWireBankName = f.ReadString("bank", "sPreWireBankName", "");
    dtLogoCategoriesLastUpdated =
        f.ReadDateTime("logo/sound/text", "dtLogoCategoriesLastUpdated", 0);
    dtSoundCategoriesLastUpdated =
        f.ReadDateTime("logo/sound/text", "dtSoundCategoriesLastUpdated", 0);
    dtTextCategoriesLastUpdated =
        f.ReadDateTime("logo/sound/text", "dtTextCategoriesLastUpdated", 0);
    AutoStart = IsAutoStartEnabled();
}

void TAppParam::Save()
{
    TIniFile& f = m_ini;
    f.WriteBool("user", "bOneUserProfileFinished", bOneUserProfileFinished);
    f.WriteBool("user", "bPromptForUser", bPromptForUser);
    f.WriteString("user", "sDefaultUser", sDefaultUser);
    f.WriteString("servers", "sServerList", ServerNames.GetServerList());
    f.WriteInteger("internet", "iConnectionSpeed", iConnectionSpeed);
    f.WriteInteger("internet", "iHttpPort", iHttpPort);
    f.WriteBool("internet", "bProxyEnabled", ProxyInfo.Enabled);
    f.WriteString("internet", "sProxyType", ProxyInfo.ProxyType);
    f.WriteString("internet", "sProxyAddress", ProxyInfo.Address);
    f.WriteInteger("internet", "iProxyPort", ProxyInfo.Port);
    f.WriteString("internet", "sProxyUserCode", ProxyInfo.UserCode);
    f.WriteString("internet", "sProxyPassword", ProxyInfo.Password);
    f.WriteString("other-data", "sValidPaymentOptions", sValidPaymentOptions);
    f.WriteString("update", "sLatestVersion", sLatestVersion);
    f.WriteBool("update", "bDontAskForUpdates", bDontAskForUpdates);
    f.WriteDateTime("update", "dtLastAskedForUpdate", dtLastAskedForUpdate);
    f.WriteDateTime("addressbook", "dtLastAddrBookChange", dtLastAddrBookChange);
    f.WriteDateTime("addressbook", "dtLastAddrBookSave", dtLastAddrBookSave);
    f.WriteBool("addressbook", "bDoNotRemindSaving", bDoNotRemindSaving);
    f.WriteString("history-tree", "sLastSelectedNode", sLastSelectedNode);
    f.WriteInteger("prices/discounts", "iSMSPrice", iSMSPrice);
    f.WriteInteger("prices/discounts", "iLogoPrice", iLogoPrice);
    f.WriteInteger("prices/discounts", "iRingPrice", iRingPrice);
    f.WriteFloat("prices/discounts", "fVAT", fVAT);
    f.WriteFloat("prices/discounts", "fDiscountCC", fDiscountCC);
    f.WriteFloat("prices/discounts", "fDiscountPreWire", fDiscountPreWire);
    f.WriteDateTime("prices/discounts", "dtPricesDiscountsLastUpdated",
                    dtPricesDiscountsLastUpdated);
    f.WriteString("bank", "sPreWireAccountOwner", sPreWireAccountOwner);
    f.WriteString("bank", "sPreWireAccountNumber", sPreWireAccountNumber);
    f.WriteString("bank", "sPreWireRoutingNumber", sPreWireRoutingNumber);
    f.WriteString("bank", "sPreWireBankName", sPreWireBankName);
    f.WriteDateTime("logo/sound/text", "dtLogoCategoriesLastUpdated", dtLogoCategoriesLastUpdated);
    f.WriteDateTime("logo/sound/text", "dtSoundCategoriesLastUpdated",
                    dtSoundCategoriesLastUpdated);
    f.WriteDateTime("logo/sound/text", "dtTextCategoriesLastUpdated", dtTextCategoriesLastUpdated);
    f.UpdateFile();
}

namespace {
template <typename T> bool Change(T& member, const T& value)
{
    if (member == value)
        return false;
    member = value;
    return true;
}
} // namespace

void TAppParam::SetOneUserProfileFinished(bool value)
{
    if (Change(bOneUserProfileFinished, value))
        Save();
}

void TAppParam::SetPromptForUser(bool value)
{
    if (Change(bPromptForUser, value))
        Save();
}

void TAppParam::SetDefaultUser(const std::string& value)
{
    if (Change(sDefaultUser, value))
        Save();
}

void TAppParam::SetConnectionSpeed(int value)
{
    if (Change(iConnectionSpeed, value))
        Save();
}

void TAppParam::SetHttpPort(int value)
{
    if (Change(iHttpPort, value))
        Save();
}

void TAppParam::SetValidPaymentOptions(const std::string& value)
{
    if (Change(sValidPaymentOptions, value))
        Save();
}

void TAppParam::SetLatestVersion(const std::string& value)
{
    if (!Change(sLatestVersion, value))
        return;
    bDontAskForUpdates = false;
    Save();
}

void TAppParam::SetDontAskForUpdates(bool value)
{
    if (Change(bDontAskForUpdates, value))
        Save();
}

void TAppParam::SetLastAskedForUpdate(TDateTime value)
{
    if (Change(dtLastAskedForUpdate, value))
        Save();
}

void TAppParam::SetLastAddrBookChange(TDateTime value)
{
    if (Change(dtLastAddrBookChange, value))
        Save();
}

void TAppParam::SetLastAddrBookSave(TDateTime value)
{
    if (Change(dtLastAddrBookSave, value))
        Save();
}

void TAppParam::SetDoNotRemindSaving(bool value)
{
    if (Change(bDoNotRemindSaving, value))
        Save();
}

void TAppParam::SetLastSelectedNode(const std::string& value)
{
    if (Change(sLastSelectedNode, value))
        Save();
}

void TAppParam::SetProxyInfo(const TProxyInfo& info)
{
    ProxyInfo = info;
    Save();
}

void TAppParam::SetPricesDiscounts(int sms, int logo, int ring, double vat, double discountCC,
                                   double discountPreWire)
{
    iSMSPrice = sms;
    iLogoPrice = logo;
    iRingPrice = ring;
    fVAT = vat;
    fDiscountCC = discountCC;
    fDiscountPreWire = discountPreWire;
    dtPricesDiscountsLastUpdated = Clock::Now();
    Save();
}

void TAppParam::SetAutoStart(bool value)
{
    if (value == AutoStart)
        return;
    AutoStart = value;
    SetAutoStartEnabled(value, ExecutablePath());
}

bool TAppParam::IsAddrBookSaveReminderDue() const
{
    return dtLastAddrBookSave < dtLastAddrBookChange && Clock::Now() - 3.0 > dtLastAddrBookChange &&
           !bDoNotRemindSaving;
}

} // namespace riz
