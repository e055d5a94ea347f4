#pragma once

#include "platform/datetime.h"
#include "platform/inifile.h"
#include "protocol/servernames.h"

#include <string>

namespace riz {

// The installation's parameters, backed by "RIZAvivaze.ini" in the program folder. Members are
// named as their INI keys; the six proxy keys are held as ProxyInfo and "sServerList" as
// ServerNames. Setters write through, and only when the value changes. The four web-servers
// keys are read, never written, so that hand-edited values survive.
class TAppParam final
{
public:
    // Reads "RIZAvivaze.ini" of the program folder (every key takes its default when the file
    // or the key is missing) and the autostart entry.
    explicit TAppParam(const std::string& programDir);
    ~TAppParam(); // saves
    TAppParam(const TAppParam&) = delete;
    TAppParam& operator=(const TAppParam&) = delete;

    void Load();
    // Writes every key but the web-servers ones, in their order, to the file at once.
    void Save();

    const std::string& IniFileName() const { return m_ini.FileName(); }

    void SetOneUserProfileFinished(bool value);
    void SetPromptForUser(bool value);
    void SetDefaultUser(const std::string& value);
    void SetConnectionSpeed(int value);
    void SetHttpPort(int value);
    void SetValidPaymentOptions(const std::string& value);
    // A new version also clears bDontAskForUpdates: a declined version does not silence the
    // offer of a newer one.
    void SetLatestVersion(const std::string& value);
    void SetDontAskForUpdates(bool value);
    void SetLastAskedForUpdate(TDateTime value);
    void SetLastAddrBookChange(TDateTime value);
    void SetLastAddrBookSave(TDateTime value);
    void SetDoNotRemindSaving(bool value);
    void SetLastSelectedNode(const std::string& value);
    // Always saves.
    void SetProxyInfo(const TProxyInfo& info);
    // Stores the prices, sets dtPricesDiscountsLastUpdated to now and saves (the bank values
    // placed in their members before reach the file in the same save).
    void SetPricesDiscounts(int sms, int logo, int ring, double vat, double discountCC,
                            double discountPreWire);
    // Writes or removes the autostart entry; the INI file is not touched.
    void SetAutoStart(bool value);
    // The last change is older than the last backup, at least three days old, and reminders
    // are wanted.
    bool IsAddrBookSaveReminderDue() const;

    // [user]
    bool bOneUserProfileFinished = false;
    bool bPromptForUser = false;
    std::string sDefaultUser;
    // [servers] sServerList
    TServerNames ServerNames;
    // [internet]
    int iConnectionSpeed = 0;
    int iHttpPort = 80;
    TProxyInfo ProxyInfo; // bProxyEnabled, sProxyType, sProxyAddress, iProxyPort, sProxyUserCode,
                          // sProxyPassword
    // [web-servers], never written
    std::string sWebsiteHome;
    std::string sClientSiteHome;
    std::string sClientSiteHelp;
    std::string sClientSiteSupport;
    // [other-data]
    std::string sValidPaymentOptions;
    // [update]
    std::string sLatestVersion;
    bool bDontAskForUpdates = false;
    TDateTime dtLastAskedForUpdate = 0;
    // [addressbook]
    TDateTime dtLastAddrBookChange = 0;
    TDateTime dtLastAddrBookSave = 0;
    bool bDoNotRemindSaving = false;
    // [history-tree]
    std::string sLastSelectedNode;
    // [prices/discounts]
    int iSMSPrice = 15;
    int iLogoPrice = 100;
    int iRingPrice = 100;
    double fVAT = 16.0;
    double fDiscountCC = 0;
    double fDiscountPreWire = 0;
    TDateTime dtPricesDiscountsLastUpdated = 0;
    // [bank]
    std::string sPreWireAccountOwner;
    std::string sPreWireAccountNumber;
    std::string sPreWireRoutingNumber;
    std::string sPreWireBankName;
    // [logo/sound/text]
    TDateTime dtLogoCategoriesLastUpdated = 0;
    TDateTime dtSoundCategoriesLastUpdated = 0;
    TDateTime dtTextCategoriesLastUpdated = 0;

    // Not in the INI file: the autostart entry.
    bool AutoStart = false;

    // Deployment defaults.
    static const char* const kDefaultServerList;
    static const char* const kDefaultWebsiteHome;
    static const char* const kDefaultClientSiteHome;
    static const char* const kDefaultClientSiteHelp;
    static const char* const kDefaultClientSiteSupport;

private:
    TIniFile m_ini;
    std::string m_programDir;
};

// The one instance, created and destroyed by the main window.
extern TAppParam* AppParam;

} // namespace riz
