#include "tasks/datacollectionencryption.h"

#include "protocol/servicekey.h"

namespace riz {

TDataCollectionEncryption* DataCollectionEncryption = nullptr;

TDataCollectionEncryption::TDataCollectionEncryption(std::uint32_t seed) : m_crypt(seed)
{
    m_crypt.SetPublicKey(kServicePublicExponent, kServiceModulus);
    m_crypt.SetMarker(kServiceMarker);
    m_crypt.GenerateSessionKey();
}

} // namespace riz
