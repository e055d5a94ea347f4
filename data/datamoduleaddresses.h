#pragma once

#include "data/clientdataset.h"

#include <string>

namespace riz {

class TDataModuleCust;

// The address book: contacts and distribution lists of every profile, kept in NAME order.
class TDataModuleAddresses final
{
public:
    TDataModuleAddresses(const std::string& dataDir, TDataModuleCust& cust);
    ~TDataModuleAddresses();
    TDataModuleAddresses(const TDataModuleAddresses&) = delete;
    TDataModuleAddresses& operator=(const TDataModuleAddresses&) = delete;

    static const char* const kAddressBookFileName; // "sms_address_book.0.90.cds"

    TClientDataSet CDSAddressBook{"CDSAddressBook"};

    // Opens the address book; after an upgrade the file is written at once.
    void OpenAddressBook();
    void CommitAddressBook();

    const std::string& AddressBookFile() const { return m_file; }

    int CustomerId = -1;
    // Used by the receiver logic.
    std::string ReceiverText;
    std::string NumberResolvedNames;

private:
    void CustomerSelected(int customerId);
    void CustomerDeleted(int customerId);

    TDataModuleCust& m_cust;
    std::string m_file;
};

extern TDataModuleAddresses* DataModuleAddresses;

} // namespace riz
