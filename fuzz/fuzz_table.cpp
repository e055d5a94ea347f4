// A table element as carried in a parameter: decode, look columns up, re-encode.
#include "protocol/cserror.h"
#include "protocol/cstable.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    riz::TCSTable t;
    try {
        t.Decode(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const riz::ECSError&) {
        return 0;
    }
    t.First();
    for (int r = 0; r < t.RowCount(); ++r) {
        for (int c = 0; c < t.ColumnCount(); ++c) {
            try {
                (void)t.CurrentCell(t.ColumnName(c)).AsString();
            } catch (const riz::ECSError&) {
            }
        }
        t.Next();
    }
    riz::TCSTable again;
    again.Decode(t.EncodedText()); // a decoded table must survive its own encoding
    return 0;
}
