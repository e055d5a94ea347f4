// A request text as the service receives it after "r=": open the envelope.
#include "protocol/serverenvelope.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {
const riz::TZKPrivateKey& Key()
{
    static riz::TZKPrivateKey key = [] {
        riz::TZKPrivateKey k;
        std::string error;
        if (!k.Load(RIZ_DEV_KEY, error))
            std::abort();
        return k;
    }();
    return key;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string text(riz::kRequestPrefix);
    text.append(reinterpret_cast<const char*>(data), size);
    riz::TZKServerEnvelope envelope(Key());
    riz::TZKOpenedRequest opened;
    std::string error;
    (void)envelope.OpenRequest(text, opened, error);
    return 0;
}
