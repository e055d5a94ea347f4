#include "data/datamodulesms.h"

#include "data/datamodulecust.h"
#include "data/datasetutils.h"
#include "data/tablesupport.h"
#include "data/valueconv.h"
#include "platform/clock.h"
#include "platform/text.h"

#include <exception>

namespace riz {

TDataModuleSMS* DataModuleSMS = nullptr;

namespace {

void SetCustomerId(TClientDataSet& ds, const int& id)
{
    ds.AfterInsert = [&id](TClientDataSet& t) { t.FieldByName("CUSTOMER_ID").SetAsInteger(id); };
}

} // namespace

TDataModuleSMS::TDataModuleSMS(const std::string& dataDir, const std::string& programDir,
                               TDataModuleCust& cust)
    : m_cust(cust)
{
    const std::string d = dataDir + "/";
    HistoryFile = d + "sms_history.0.94.cds";
    QueueFile = d + "sms_queue.0.94.cds";
    TreeFile = d + "sms_tree.0.90.cds";
    LogoCategoryFile = d + "sms_logo_cat.0.96.cds";
    SoundCategoryFile = d + "sms_sound_cat.0.96.cds";
    TextCategoryFile = d + "sms_text_cat.0.96.cds";
    LogosFile = d + "sms_logos.0.94.cds";
    SoundsFile = d + "sms_sounds.0.94.cds";
    TextsFile = d + "sms_texts.0.94.cds";
    DiscountsFile = d + "discounts.0.95.cds";
    BannerFile = d + "banner.0.96.cds";
    TempWave1 = programDir + "/temp1.wav";
    TempWave2 = programDir + "/temp2.wav";
    TempLogoFile = d + "temp_logo.bmp";
    TempBannerFile = d + "temp_banner.bmp";

    CDSSMSHistory.FieldDefs = {IntField("CUSTOMER_ID"),    StrField("SMS_SENDER", 140),
                               MemoField("RECEIVER"),      MemoField("SMS_TEXT"),
                               DateTimeField("SENT_DATE"), MemoField("QUEUE_IDS"),
                               MemoField("TREE")};
    CDSSMSQueue.FieldDefs = {IntField("QUEUE_ID"),
                             IntField("CUSTOMER_ID"),
                             StrField("SMS_SENDER", 20),
                             MemoField("RECEIVER"),
                             MemoField("SMS_TEXT"),
                             DateTimeField("SEND_DATE"),
                             BoolField("DONT_SPLIT"),
                             StrField("SEND_OPTION", 200),
                             IntField("OPTION_ID"),
                             StrField("OPTION_TYPE", 200),
                             StrField("OPTION_NAME", 1000),
                             BoolField("FREE"),
                             BoolField("SEND"),
                             MemoField("TREE"),
                             BoolField("OWN_LOGO"),
                             BlobField("OWN_LOGO_DATA")};
    CDSTree.FieldDefs = {IntField("CUSTOMER_ID"), MemoField("TREE")};
    CDSLogoCategory.FieldDefs = {IntField("ID"), StrField("TYPE", 10), StrField("NAME", 30),
                                 BlobField("ICON"), DateTimeField("LAST_UPDATED")};
    CDSSoundCategory.FieldDefs = {IntField("ID"), StrField("TYPE", 10), StrField("NAME", 10),
                                  BlobField("ICON"), DateTimeField("LAST_UPDATED")};
    CDSTextCategory.FieldDefs = {IntField("ID"), StrField("NAME", 100),
                                 DateTimeField("LAST_UPDATED")};
    CDSLogos.FieldDefs = {IntField("ID"), StrField("TYPE", 10), StrField("NAME", 100),
                          IntField("CATEGORY"), BlobField("DATA")};
    CDSSounds.FieldDefs = {IntField("ID"), StrField("TYPE", 10), StrField("NAME", 100),
                           IntField("CATEGORY"), BlobField("DATA")};
    CDSTexts.FieldDefs = {IntField("ID"), IntField("CATEGORY"), StrField("DATA", 160)};
    CDSDiscounts.FieldDefs = {IntField("AMOUNT"), FloatField("PERCENTAGE")};
    CDSBanner.FieldDefs = {IntField("BANNER_ID"),     StrField("BANNER_NAME", 200),
                           BlobField("BANNER"),       StrField("FILE_TYPE", 10),
                           StrField("LINK", 250),     IntField("WAIT_TIME"),
                           DateTimeField("LAST_CALL")};
    CDSSMSReceiver.FieldDefs = {IntField("RECEIVER_ID"), StrField("RECEIVER_NAME", 200),
                                StrField("RECEIVER_NUMBER", 50), IntField("RESPONSE_CODE"),
                                MemoField("QUEUE_IDS")};
    CDSCreditChanges.FieldDefs = {IntField("CHANGE"), StrField("REASON", 200),
                                  DateTimeField("DATE")};

    SetCustomerId(CDSSMSHistory, CustomerId);
    SetCustomerId(CDSSMSQueue, CustomerId);
    SetCustomerId(CDSTree, CustomerId);
    auto categoryHook = [this](const char* kind) {
        return [this, kind](TClientDataSet& t) {
            DeleteCategoryItems(t.FieldByName("ID").AsInteger(), kind);
        };
    };
    CDSLogoCategory.BeforeDelete = categoryHook("logo");
    CDSSoundCategory.BeforeDelete = categoryHook("sound");
    CDSTextCategory.BeforeDelete = categoryHook("text");

    m_cust.AddCustomerSelectedListener([this](int id) { CustomerSelected(id); }, this);
    m_cust.AddCustomerDeletedListener([this](int id) { CustomerDeleted(id); }, this);
}

TDataModuleSMS::~TDataModuleSMS()
{
    m_cust.RemoveListeners(this);
}

std::string TDataModuleSMS::FilePath(const std::string& fileName) const
{
    return HistoryFile.substr(0, HistoryFile.rfind('/') + 1) + fileName;
}

void TDataModuleSMS::OpenSMSTables()
{
    std::exception_ptr first;
    auto open = [&first](TClientDataSet& ds, const std::string& path) {
        try {
            OpenWrittenTable(ds, path);
        } catch (...) {
            if (!first)
                first = std::current_exception();
        }
    };
    open(CDSSMSHistory, HistoryFile);
    open(CDSSMSQueue, QueueFile);
    open(CDSLogoCategory, LogoCategoryFile);
    open(CDSLogos, LogosFile);
    open(CDSSoundCategory, SoundCategoryFile);
    open(CDSSounds, SoundsFile);
    open(CDSTextCategory, TextCategoryFile);
    open(CDSTexts, TextsFile);
    open(CDSTree, TreeFile);
    open(CDSDiscounts, DiscountsFile);
    open(CDSBanner, BannerFile);
    CDSSMSReceiver.CreateDataSet();
    CDSCreditChanges.CreateDataSet();
    try {
        CommitMessageTables();
    } catch (...) {
        if (!first)
            first = std::current_exception();
    }
    try {
        CommitDiscounts();
    } catch (...) {
        if (!first)
            first = std::current_exception();
    }
    if (first)
        std::rethrow_exception(first);
}

void TDataModuleSMS::CommitMessageTables()
{
    CommitTables(
        {{&CDSSMSHistory, &HistoryFile}, {&CDSSMSQueue, &QueueFile}, {&CDSTree, &TreeFile}});
}

void TDataModuleSMS::CommitLogoTables()
{
    CommitTables({{&CDSLogoCategory, &LogoCategoryFile}, {&CDSLogos, &LogosFile}});
}

void TDataModuleSMS::CommitSoundTables()
{
    CommitTables({{&CDSSoundCategory, &SoundCategoryFile}, {&CDSSounds, &SoundsFile}});
}

void TDataModuleSMS::CommitTextTables()
{
    CommitTables({{&CDSTextCategory, &TextCategoryFile}, {&CDSTexts, &TextsFile}});
}

void TDataModuleSMS::CommitDiscounts()
{
    CommitTables({{&CDSDiscounts, &DiscountsFile}});
}

void TDataModuleSMS::CommitBanners()
{
    CommitTables({{&CDSBanner, &BannerFile}});
}

void TDataModuleSMS::SetCategoryFilter(int category)
{
    CategoryId = category;
    CDSLogos.SetFilter(FieldEquals("CATEGORY", category));
    CDSSounds.SetFilter(FieldEquals("CATEGORY", category));
    CDSTexts.SetFilter(FieldEquals("CATEGORY", category));
}

void TDataModuleSMS::DeleteCategoryItems(int category, const std::string& kind)
{
    TClientDataSet* items = nullptr;
    if (kind == "sound")
        items = &CDSSounds;
    else if (kind == "logo")
        items = &CDSLogos;
    else if (kind == "text")
        items = &CDSTexts;
    if (!items || !items->Active())
        return;
    TFilter saved = items->Filter();
    items->SetFilter(FieldEquals("CATEGORY", category));
    try {
        DeleteAllRows(*items);
    } catch (...) {
        items->SetFilter(std::move(saved));
        throw;
    }
    items->SetFilter(std::move(saved));
}

void TDataModuleSMS::LoadQueueEntry()
{
    TClientDataSet& q = CDSSMSQueue;
    SmsSender = q.FieldByName("SMS_SENDER").AsString();
    SmsText = q.FieldByName("SMS_TEXT").AsString();
    const TDateTime sendDate = q.FieldByName("SEND_DATE").AsDateTime();
    SendNow = sendDate == 0;
    SendDate = SendNow ? Clock::Now() : sendDate;
    DontSplit = q.FieldByName("DONT_SPLIT").AsBoolean();
    SendOption = q.FieldByName("SEND_OPTION").AsString();
    OptionId = q.FieldByName("OPTION_ID").AsInteger();
    OptionType = q.FieldByName("OPTION_TYPE").AsString();
    OptionName = q.FieldByName("OPTION_NAME").AsString();
    FreeSms = q.FieldByName("FREE").AsBoolean();
    OwnLogo = q.FieldByName("OWN_LOGO").AsBoolean();
    OwnLogoData = OwnLogo ? q.FieldByName("OWN_LOGO_DATA").AsString() : std::string();
}

void TDataModuleSMS::RebuildFolderTable()
{
    DeleteAllRows(CDSTree);
    const int col = CDSSMSHistory.FindField("TREE");
    for (int i = 0; i < CDSSMSHistory.RecordCount(); ++i) {
        const std::string path =
            ValueToString(CDSSMSHistory.VisibleRow(i).Values[col], TFieldType::Memo);
        if (!FolderExists(path)) {
            CDSTree.Append();
            CDSTree.FieldByName("TREE").SetAsString(path);
            CDSTree.Post();
        }
    }
}

bool TDataModuleSMS::FolderExists(const std::string& path)
{
    const int col = CDSTree.FindField("TREE");
    for (int i = 0; i < CDSTree.RecordCount(); ++i) {
        if (AnsiSameText(ValueToString(CDSTree.VisibleRow(i).Values[col], TFieldType::Memo), path))
            return true;
    }
    return false;
}

void TDataModuleSMS::CustomerSelected(int customerId)
{
    CustomerId = customerId;
    for (TClientDataSet* ds : {&CDSSMSHistory, &CDSSMSQueue, &CDSTree}) {
        if (ds->Active())
            ds->SetFilter(FieldEquals("CUSTOMER_ID", customerId));
    }
}

void TDataModuleSMS::CustomerDeleted(int customerId)
{
    for (TClientDataSet* ds : {&CDSSMSHistory, &CDSSMSQueue, &CDSTree}) {
        if (ds->Active())
            DeleteCustomerRows(*ds, customerId);
    }
}

} // namespace riz
