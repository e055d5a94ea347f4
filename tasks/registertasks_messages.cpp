#include "tasks/comtaskdeletesmshistory.h"
#include "tasks/comtaskgetlatestversion.h"
#include "tasks/comtaskgetreminder.h"
#include "tasks/comtaskloadlogocategories.h"
#include "tasks/comtaskloadlogos.h"
#include "tasks/comtaskloadsmsaddressbook.h"
#include "tasks/comtaskloadsmshistory.h"
#include "tasks/comtaskloadtextcategories.h"
#include "tasks/comtaskloadtexts.h"
#include "tasks/comtasksavesmsaddressbook.h"
#include "tasks/comtasksavetree.h"
#include "tasks/comtasksendsms.h"
#include "tasks/comtasksetreminder.h"
#include "tasks/registertasks.h"
#include "tasks/taskfactory.h"

namespace riz {

namespace {

template <class T> void Register(int id)
{
    RegisterTask(id, [](int taskId) { return std::make_unique<T>(taskId); });
}

} // namespace

void RegisterMessageAndCatalogTasks()
{
    Register<TComTaskGetLatestVersion>(50435);
    Register<TComTaskSendSMS>(50441);
    Register<TComTaskSaveSMSAddressBook>(50442);
    Register<TComTaskLoadSMSAddressBook>(50443);
    Register<TComTaskLoadSMSHistory>(50445);
    Register<TComTaskDeleteSMSHistory>(50446);
    Register<TComTaskSaveTree>(50447);
    Register<TComTaskSetReminder>(50461);
    Register<TComTaskGetReminder>(50462);
    // Ringtones and logos share one catalog request; the ids give the progress text.
    Register<TComTaskLoadLogos>(50470);
    Register<TComTaskLoadLogos>(50471);
    Register<TComTaskLoadTexts>(50472);
    Register<TComTaskLoadLogoCategories>(50473);
    Register<TComTaskLoadLogoCategories>(50474);
    Register<TComTaskLoadTextCategories>(50475);
}

} // namespace riz
