#pragma once

#include "data/clientdataset.h"
#include "platform/datetime.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace riz {

class TDataModuleCust;

// Message history, offline queue, organizer folders, catalogs, discounts and banners, and
// what the next send and the next purchase carry.
class TDataModuleSMS final
{
public:
    // Builds the file paths and subscribes to the customer lists of cust.
    TDataModuleSMS(const std::string& dataDir, const std::string& programDir,
                   TDataModuleCust& cust);
    ~TDataModuleSMS();
    TDataModuleSMS(const TDataModuleSMS&) = delete;
    TDataModuleSMS& operator=(const TDataModuleSMS&) = delete;

    TClientDataSet CDSSMSHistory{"CDSSMSHistory"};
    TClientDataSet CDSSMSQueue{"CDSSMSQueue"};
    TClientDataSet CDSTree{"CDSTree"};
    TClientDataSet CDSLogoCategory{"CDSLogoCategory"};
    TClientDataSet CDSSoundCategory{"CDSSoundCategory"};
    TClientDataSet CDSTextCategory{"CDSTextCategory"};
    TClientDataSet CDSLogos{"CDSLogos"};
    TClientDataSet CDSSounds{"CDSSounds"};
    TClientDataSet CDSTexts{"CDSTexts"};
    TClientDataSet CDSDiscounts{"CDSDiscounts"};
    TClientDataSet CDSBanner{"CDSBanner"};
    TClientDataSet CDSSMSReceiver{"CDSSMSReceiver"};     // never written
    TClientDataSet CDSCreditChanges{"CDSCreditChanges"}; // never written

    // Opens every table; the history, queue, folder and discount files exist afterwards.
    // Tables whose file cannot be read stay empty; the first such error is raised at the end.
    void OpenSMSTables();
    void CommitMessageTables(); // history, queue, folders
    void CommitLogoTables();
    void CommitSoundTables();
    void CommitTextTables();
    void CommitDiscounts();
    void CommitBanners();

    // Shows the items of one catalog category in the three item tables.
    void SetCategoryFilter(int category);
    // kind "logo", "sound" or "text": deletes the category's items in memory; the filter of the
    // items table stays as it was.
    void DeleteCategoryItems(int category, const std::string& kind);
    // Copies the current queue row into the send parameters.
    void LoadQueueEntry();
    // Builds the folder table anew from the history's folders.
    void RebuildFolderTable();
    bool FolderExists(const std::string& path);

    std::string FilePath(const std::string& fileName) const;

    int CustomerId = -1;
    int CategoryId = -1;
    // Server ids of the history entries the next history deletion removes.
    std::vector<std::string> HistoryIdsToDelete;

    // Send parameters.
    std::string SmsText;
    std::string SmsSender;
    bool SendNow = true;
    TDateTime SendDate = 0;
    bool DontSplit = false;
    bool FreeSms = false;
    std::string SendOption = "sms"; // "sms", "logo", "sound" or "text"
    std::int32_t OptionId = 0;
    std::string OptionName;
    std::string OptionType; // "NOL" operator logo, "NGG" group graphic
    bool OwnLogo = false;
    std::string OwnLogoData; // bytes of a bitmap file
    bool ReceiverChosen = false;

    // Message parts and free SMS.
    int CharsPerPart = 160;
    int FreeSmsLeft = -1; // unknown
    int FreeSmsDay = 0;
    std::int32_t BannerToShow = -1;

    // Purchase parameters.
    std::string PaymentOption;
    std::string CreditCode;
    std::string CcType;
    std::string CcNumber;
    std::string CcOwner;
    int CcExpMonth = 0;
    int CcExpYear = 0;
    int AmountEuro = 0;
    int CreditsToBuy = 0; // tenths of a credit
    std::string ServiceNumber50;
    std::string ServiceNumber200;
    std::array<std::string, 5> FriendNames;
    std::array<std::string, 5> FriendEmails;

    // File paths.
    std::string HistoryFile, QueueFile, TreeFile, LogoCategoryFile, SoundCategoryFile,
        TextCategoryFile, LogosFile, SoundsFile, TextsFile, DiscountsFile, BannerFile;
    std::string TempWave1, TempWave2;         // in the program folder
    std::string TempLogoFile, TempBannerFile; // in the data folder

private:
    void CustomerSelected(int customerId);
    void CustomerDeleted(int customerId);

    TDataModuleCust& m_cust;
};

extern TDataModuleSMS* DataModuleSMS;

} // namespace riz
