#include "data/datamodules.h"

#include "data/datacollection.h"
#include "data/datamoduleaddresses.h"
#include "data/datamodulecust.h"
#include "data/datamodulereminder.h"
#include "data/datamodulesms.h"

#include <exception>

namespace riz {

void CreateDataModules(const TDataCollection& folders)
{
    DestroyDataModules();
    DataModuleCust = new TDataModuleCust(folders.DataDir);
    DataModuleSMS = new TDataModuleSMS(folders.DataDir, folders.ProgramDir, *DataModuleCust);
    DataModuleReminder = new TDataModuleReminder(folders.DataDir, *DataModuleCust);
    DataModuleAddresses = new TDataModuleAddresses(folders.DataDir, *DataModuleCust);
}

void DestroyDataModules()
{
    delete DataModuleAddresses;
    DataModuleAddresses = nullptr;
    delete DataModuleReminder;
    DataModuleReminder = nullptr;
    delete DataModuleSMS;
    DataModuleSMS = nullptr;
    delete DataModuleCust;
    DataModuleCust = nullptr;
}

void OpenAllTables()
{
    std::exception_ptr first;
    auto run = [&first](auto&& open) {
        try {
            open();
        } catch (...) {
            if (!first)
                first = std::current_exception();
        }
    };
    run([] { DataModuleCust->OpenCustomerTables(); });
    run([] { DataModuleSMS->OpenSMSTables(); });
    run([] { DataModuleAddresses->OpenAddressBook(); });
    run([] { DataModuleReminder->OpenReminderList(); });
    if (first)
        std::rethrow_exception(first);
}

} // namespace riz
