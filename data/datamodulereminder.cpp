#include "data/datamodulereminder.h"

#include "data/datamodulecust.h"
#include "data/tablesupport.h"

namespace riz {

TDataModuleReminder* DataModuleReminder = nullptr;

const char* const TDataModuleReminder::kReminderFileName = "reminder_list.0.94.1cds";

TDataModuleReminder::TDataModuleReminder(const std::string& dataDir, TDataModuleCust& cust)
    : m_cust(cust), m_file(dataDir + "/" + kReminderFileName)
{
    CDSReminder.FieldDefs = {IntField("REMINDER_ID"), IntField("CUSTOMER_ID"),
                             DateTimeField("REMIND_DATE"), StrField("DESCRIPTION", 200),
                             FloatField("REMIND_WHEN")};
    CDSReminder.AfterInsert = [this](TClientDataSet& t) {
        t.FieldByName("CUSTOMER_ID").SetAsInteger(CustomerId);
    };
    m_cust.AddCustomerSelectedListener([this](int id) { CustomerSelected(id); }, this);
    m_cust.AddCustomerDeletedListener([this](int id) { CustomerDeleted(id); }, this);
}

TDataModuleReminder::~TDataModuleReminder()
{
    m_cust.RemoveListeners(this);
}

void TDataModuleReminder::OpenReminderList()
{
    if (OpenWrittenTable(CDSReminder, m_file))
        CommitReminderList();
}

void TDataModuleReminder::CommitReminderList()
{
    CDSReminder.SaveToFile(m_file);
}

void TDataModuleReminder::CustomerSelected(int customerId)
{
    CustomerId = customerId;
    if (CDSReminder.Active())
        CDSReminder.SetFilter(FieldEquals("CUSTOMER_ID", customerId));
}

void TDataModuleReminder::CustomerDeleted(int customerId)
{
    if (CDSReminder.Active())
        DeleteCustomerRows(CDSReminder, customerId);
}

} // namespace riz
