// An answer body as the client receives it: header, word coding, decryption, message.
#include "protocol/answerbody.h"
#include "protocol/cserror.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static riz::TZKCrypt crypt = [] {
        riz::TZKCrypt c;
        c.SetSessionKey({1, 2, 3, 4, 5});
        return c;
    }();
    riz::TCSDataString answer;
    try {
        riz::DecodeAnswerBody(std::string(reinterpret_cast<const char*>(data), size), crypt, answer);
    } catch (const riz::ECSError&) {
    } catch (const std::runtime_error&) {
    }
    return 0;
}
