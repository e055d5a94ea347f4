// A table file in the data folder that may be damaged or foreign: read its field definitions
// and rows. A file that does not read raises the table file error, never anything worse.
#include "data/clientdataset.h"
#include "data/tablefile.h"

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = "/tmp/riz-fuzz-table-" + std::to_string(getpid()) + ".cds";
    for (const char* side : {"", "-wal", "-shm", "-journal"})
        unlink((path + side).c_str());
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    try {
        riz::TClientDataSet ds("CDSFuzz");
        ds.FieldDefs = riz::TTableFile::ReadFieldDefs(path);
        ds.CreateDataSet();
        ds.LoadFromFile(path);
        for (ds.First(); ds.RecNo() > 0 && !ds.Eof(); ds.Next())
            for (int i = 0; i < ds.FieldCount(); ++i)
                (void)ds.Fields(i).AsString();
    } catch (const std::exception&) {
    }
    return 0;
}
