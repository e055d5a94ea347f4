// A message text as it arrives from the network: decode it and read every parameter in every
// form a task may ask for.
#include "protocol/cserror.h"
#include "protocol/csdatastring.h"
#include "protocol/cstable.h"

#include "platform/calendar.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    riz::TCSDataString m;
    try {
        m.Decode(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const riz::ECSError&) {
        return 0;
    }
    for (const auto& p : m.Params) {
        try {
            (void)p->AsString();
        } catch (const riz::ECSError&) {
        }
        (void)p->AsInt();
        (void)p->AsFloat();
        try {
            (void)p->AsDateTime();
        } catch (const riz::EConvertError&) {
        }
        try {
            (void)p->AsStream();
        } catch (const riz::ECSError&) {
        }
        try {
            riz::TCSTable t = p->AsTable();
            t.First();
            for (int r = 0; r < t.RowCount(); ++r) {
                for (int c = 0; c < t.ColumnCount(); ++c)
                    (void)t.CurrentCell(c).Value;
                t.Next();
            }
        } catch (const riz::ECSError&) {
        }
    }
    // What decoded must encode again.
    (void)m.Encode();
    return 0;
}
