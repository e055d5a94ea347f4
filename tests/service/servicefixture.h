#pragma once

#include "tests/service/serviceclient.h"
#include "tests/support/serviceprocess.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>

namespace riz::test {

// One service for all tests of a suite; each test registers customers of its own.
class ServiceTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_service = std::make_unique<ServiceProcess>();
        ASSERT_TRUE(s_service->Running()) << s_service->Error();
    }
    static void TearDownTestSuite() { s_service.reset(); }

    ServiceProcess& Service() { return *s_service; }
    ServiceClient Client() { return ServiceClient(s_service->Host(), s_service->Port()); }

    // A new unique address for this test.
    static std::string NewEmail(const std::string& hint)
    {
        static std::atomic<int> counter{0};
        return hint + std::to_string(++counter) + "@example.org";
    }

    // A registered and confirmed customer with the given credits (tenths).
    std::string NewCustomer(const std::string& hint, int credits,
                            const std::string& password = "geheim")
    {
        const std::string email = NewCustomerWithAddress(NewEmail(hint), password);
        if (credits)
            Service().SetCredits(email, credits);
        return email;
    }

    std::string NewCustomerWithAddress(const std::string& email,
                                       const std::string& password = "geheim")
    {
        ServiceClient client = Client();
        EXPECT_GT(client.Register(email, password), 0);
        const std::string code = Service().RegistrationCode(email);
        EXPECT_FALSE(code.empty());
        auto r = client.Call(
            "CONFIRM_REGISTRATION",
            {TCSParam::Int("customer_id", static_cast<std::int32_t>(Service().CustomerId(email))),
             TCSParam::Text("conf_code", code)});
        EXPECT_TRUE(r.Decoded);
        EXPECT_EQ(r.Rslt(), 0);
        return email;
    }

    static inline std::unique_ptr<ServiceProcess> s_service;
};

} // namespace riz::test
