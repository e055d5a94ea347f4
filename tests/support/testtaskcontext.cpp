#include "tests/support/testtaskcontext.h"

#include "connection/formconnectionerror.h"
#include "platform/clock.h"
#include "protocol/servicekey.h"

namespace riz::test {

TestTaskContext::TestTaskContext() : crypt(static_cast<std::uint32_t>(Clock::UnixTime()))
{
    crypt.SetPublicKey(kServicePublicExponent, kServiceModulus);
    crypt.SetMarker(kServiceMarker);
    crypt.GenerateSessionKey();
    // Short time-outs keep failure paths quick.
    AnswerTimeoutMs = 1500;
    ConnectTimeoutMs = 1500;
    RestartDelayMs = 20;
    SetTaskContext(this);
}

TestTaskContext::~TestTaskContext()
{
    SetTaskContext(nullptr);
}

double TestTaskContext::Now() const
{
    return Clock::Now();
}

int TestTaskContext::ShowConnectionError(const std::string& errorText)
{
    return TFormConnectionError::ShowFor(errorText);
}

} // namespace riz::test
