#pragma once

#include "data/appparam.h"
#include "data/datacollection.h"
#include "data/datamodules.h"

#include <memory>
#include <string>

namespace riz::test {

// A program folder of the test's own with the data collection, AppParam and the four data
// modules over it, created in the program's order. Start() opens the tables as the start-up
// does; Stop() destroys everything (tables are not written at the end, as in the program).
class TDataEnvironment final
{
public:
    explicit TDataEnvironment(std::string programDir) : m_dir(std::move(programDir)) {}
    ~TDataEnvironment() { Stop(); }

    // profileFinished: the value bOneUserProfileFinished has in the INI file before the start.
    void Start(bool profileFinished = true, bool openTables = true)
    {
        Stop();
        Collection = std::make_unique<TDataCollection>(m_dir);
        AppParam = new TAppParam(Collection->ProgramDir);
        AppParam->SetOneUserProfileFinished(profileFinished);
        CreateDataModules(*Collection);
        if (openTables)
            OpenAllTables();
    }

    void Stop()
    {
        DestroyDataModules();
        delete AppParam;
        AppParam = nullptr;
        Collection.reset();
    }

    const std::string& ProgramDir() const { return m_dir; }
    std::string DataFile(const std::string& name) const { return m_dir + "/db/" + name; }

    std::unique_ptr<TDataCollection> Collection;

private:
    std::string m_dir;
};

} // namespace riz::test
