#pragma once

#include "data/clientdataset.h"

#include <string>

namespace riz {

class TDataModuleCust;

// The reminder list of every profile.
class TDataModuleReminder final
{
public:
    TDataModuleReminder(const std::string& dataDir, TDataModuleCust& cust);
    ~TDataModuleReminder();
    TDataModuleReminder(const TDataModuleReminder&) = delete;
    TDataModuleReminder& operator=(const TDataModuleReminder&) = delete;

    static const char* const kReminderFileName; // "reminder_list.0.94.1cds"

    TClientDataSet CDSReminder{"CDSReminder"};

    // Opens the reminder list; after an upgrade the file is written at once.
    void OpenReminderList();
    void CommitReminderList();

    const std::string& ReminderFile() const { return m_file; }

    int CustomerId = -1;

private:
    void CustomerSelected(int customerId);
    void CustomerDeleted(int customerId);

    TDataModuleCust& m_cust;
    std::string m_file;
};

extern TDataModuleReminder* DataModuleReminder;

} // namespace riz
