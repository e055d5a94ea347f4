#pragma once

#include "protocol/zkcrypt.h"

#include <cstdint>

namespace riz {

// Holds the program's one cipher: seeded with the time of its creation, loaded with the
// service's public key and marker, and with a session key drawn once for the whole run.
class TDataCollectionEncryption final
{
public:
    explicit TDataCollectionEncryption(std::uint32_t seed);
    const TZKCrypt& Crypt() const { return m_crypt; }

private:
    TZKCrypt m_crypt;
};

extern TDataCollectionEncryption* DataCollectionEncryption;

} // namespace riz
