// The balance request end to end: the runner, the framework and the transport against a real
// riz-service, and the balance stored in the customer table and its file.
#include "data/appparam.h"
#include "data/datamodulecust.h"
#include "platform/modalhook.h"
#include "tests/service/serviceclient.h"
#include "tests/support/clientinstall.h"
#include "tests/support/serviceprocess.h"

#include <gtest/gtest.h>

using namespace riz;

TEST(CreditsEndToEnd, BalanceIsStoredInTheCustomerRowAndItsFile)
{
    ModalHook::Clear();
    ModalHook::ClearHistory();
    test::ServiceProcess service({.LatestVersion = "0.97.05"});
    ASSERT_TRUE(service.Running()) << service.Error();
    test::ServiceClient helper(service.Host(), service.Port());
    const int id = helper.Register("anna@example.de", "Sommer2026");
    ASSERT_GT(id, 0);
    service.SetCredits("anna@example.de", 1234);

    test::ClientInstall client(service.Host(), service.Port());
    client.AddProfile("anna@example.de", "Sommer2026", id);
    ASSERT_EQ(client.Execute(50452), 1);
    EXPECT_EQ(client.ResultCode(), 0);
    EXPECT_EQ(DataModuleCust->CDSCustomer.FieldByName("CREDITS").AsInteger(), 1234);
    // The announced version reached the parameters.
    EXPECT_EQ(AppParam->sLatestVersion, "0.97.05");

    // What the service received.
    const auto requests = service.Requests("GET_SMS_CREDITS");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].Email, "anna@example.de");
    EXPECT_NE(requests[0].Message.find("my_version=0.97.01\\p</ZK>"), std::string::npos);

    // It was written: the tables read from their files hold the balance.
    client.Reopen();
    EXPECT_EQ(DataModuleCust->CDSCustomer.FieldByName("CREDITS").AsInteger(), 1234);
    EXPECT_TRUE(ModalHook::History().empty());
}

TEST(CreditsEndToEnd, WrongPasswordIsResultElevenAndChangesNothing)
{
    ModalHook::Clear();
    test::ServiceProcess service;
    ASSERT_TRUE(service.Running()) << service.Error();
    test::ServiceClient helper(service.Host(), service.Port());
    const int id = helper.Register("ben@example.de", "richtig");
    service.SetCredits("ben@example.de", 500);

    test::ClientInstall client(service.Host(), service.Port());
    client.AddProfile("ben@example.de", "falsch", id);
    ASSERT_EQ(client.Execute(50452), 1);
    EXPECT_EQ(client.ResultCode(), 11);
    EXPECT_EQ(DataModuleCust->CDSCustomer.FieldByName("CREDITS").AsInteger(), 0);
}
