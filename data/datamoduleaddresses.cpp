#include "data/datamoduleaddresses.h"

#include "data/appparam.h"
#include "data/datamodulecust.h"
#include "data/phonenumber.h"
#include "data/tablesupport.h"
#include "platform/clock.h"

namespace riz {

TDataModuleAddresses* DataModuleAddresses = nullptr;

const char* const TDataModuleAddresses::kAddressBookFileName = "sms_address_book.0.90.cds";

TDataModuleAddresses::TDataModuleAddresses(const std::string& dataDir, TDataModuleCust& cust)
    : m_cust(cust), m_file(dataDir + "/" + kAddressBookFileName)
{
    TFieldDef digits = StrField("CELL_PHONE_DIGITS", 50);
    digits.InternalCalc = true;
    TFieldDef lists = MemoField("DISTRIBUTION_LIST");
    lists.Size = 2000; // declared size; a memo holds any length
    CDSAddressBook.FieldDefs = {IntField("CUSTOMER_ID"),
                                StrField("NAME", 100),
                                StrField("EMAIL_ADDRESS", 200),
                                StrField("HOME_PHONE", 50),
                                StrField("WORK_PHONE", 50),
                                StrField("CELL_PHONE", 50),
                                DateField("BIRTHDAY"),
                                lists,
                                digits};
    CDSAddressBook.SetIndexFieldName("NAME");
    CDSAddressBook.AfterInsert = [this](TClientDataSet& t) {
        t.FieldByName("CUSTOMER_ID").SetAsInteger(CustomerId);
    };
    CDSAddressBook.OnCalcFields = [](TClientDataSet& t) {
        t.FieldByName("CELL_PHONE_DIGITS")
            .SetAsString(PhoneDigits(t.FieldByName("CELL_PHONE").AsString()));
    };
    CDSAddressBook.AfterPost = [](TClientDataSet&) {
        if (AppParam)
            AppParam->SetLastAddrBookChange(Clock::Now());
    };
    m_cust.AddCustomerSelectedListener([this](int id) { CustomerSelected(id); }, this);
    m_cust.AddCustomerDeletedListener([this](int id) { CustomerDeleted(id); }, this);
}

TDataModuleAddresses::~TDataModuleAddresses()
{
    m_cust.RemoveListeners(this);
}

void TDataModuleAddresses::OpenAddressBook()
{
    if (OpenWrittenTable(CDSAddressBook, m_file))
        CommitAddressBook();
}

void TDataModuleAddresses::CommitAddressBook()
{
    CDSAddressBook.SaveToFile(m_file);
}

void TDataModuleAddresses::CustomerSelected(int customerId)
{
    CustomerId = customerId;
    if (CDSAddressBook.Active())
        CDSAddressBook.SetFilter(FieldEquals("CUSTOMER_ID", customerId));
}

void TDataModuleAddresses::CustomerDeleted(int customerId)
{
    if (CDSAddressBook.Active())
        DeleteCustomerRows(CDSAddressBook, customerId);
}

} // namespace riz
