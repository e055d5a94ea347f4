#pragma once

#include "data/clientdataset.h"

#include <functional>
#include <string>
#include <vector>

namespace riz {

// A subscriber of the customer lists: a routine receiving the customer id, and the object
// it belongs to (so that the object can take its routines out again).
using TCustomerRoutine = std::function<void(int customerId)>;

// The customer table: one row per local profile, with the profile's addresses and payment
// nick names as nested tables, and the logged-in profile.
class TDataModuleCust final
{
public:
    explicit TDataModuleCust(const std::string& dataDir);
    ~TDataModuleCust();
    TDataModuleCust(const TDataModuleCust&) = delete;
    TDataModuleCust& operator=(const TDataModuleCust&) = delete;

    static const char* const kCustomerFileName; // "customer.0.96.cds"
    static TFieldDefs CustomerFields();
    static TFieldDefs CustAddrFields();
    static TFieldDefs PaymentInfoNickNameFields();

    TClientDataSet CDSCustomer{"CDSCustomer"};
    // The nested tables of the current customer row.
    TClientDataSet& CDSCustAddr();
    TClientDataSet& CDSPaymentInfoNickNames();
    TClientDataSet CDSPaymentInfoTemp{"CDSPaymentInfoTemp"}; // never written
    TClientDataSet CDSNeighborhood{"CDSNeighborhood"};       // never written

    // Opens the customer table; after an upgrade the file is written at once.
    void OpenCustomerTables();
    bool CustomerFileExists() const;
    void CommitCustomerTables();
    // Discards the changes since the customer file was last written or read.
    void RollbackCustomerTables();

    // Makes the profile's row current (e-mail compared without regard to case) and tells the
    // customer-selected subscribers; EZKError 19010 when there is no such profile.
    void GoToCustomer(const std::string& email);
    void GoToLoggedInCustomer();
    void LoginCustomer(const std::string& email);
    // Tells the customer-deleted subscribers, deletes the nested rows and the row, and writes
    // the customer file. EZKError 19010 when there is no such profile.
    void DeleteCustomer(const std::string& email);
    void FillUsersIntoStringList(std::vector<std::string>& list);
    // Nested rows by nick name (without regard to case); EZKError 19011 / 19013.
    void GoToAddress(const std::string& nick);
    void GoToPaymentInfo(const std::string& nick);

    void AddCustomerSelectedListener(TCustomerRoutine routine, const void* object);
    void AddCustomerDeletedListener(TCustomerRoutine routine, const void* object);
    void RemoveListeners(const void* object);

    const std::string& CustomerFile() const { return m_customerFile; }

    // The logged-in profile; "none" is an empty address with id -1.
    std::string LoggedInEmail;
    std::string LoggedInFirstName;
    std::string LoggedInLastName;
    std::string LoggedInPassword;
    int LoggedInCustomerId = -1;

    // Values the account windows hand over to the tasks.
    std::string DownloadEmail;
    std::string DownloadPassword;
    std::string ChangeEmail;    // e-mail address valid before the change
    std::string ChangePassword; // password valid before the change
    std::string PasswordRequestEmail;
    std::string RegistrationCode;
    std::string EditAddressNick;
    std::string DeleteAddressNick;
    std::string EditPaymentNick;
    std::string DeletePaymentNick;
    std::string NbrhdPostalCode;
    std::string NbrhdCityName;
    std::string WelcomeNumber;

private:
    struct TListener
    {
        TCustomerRoutine Routine;
        const void* Object;
    };
    bool FindCustomer(const std::string& email);

    std::string m_customerFile;
    std::vector<TListener> m_selected;
    std::vector<TListener> m_deleted;
};

extern TDataModuleCust* DataModuleCust;

} // namespace riz
