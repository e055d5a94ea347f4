#pragma once

#include "tasks/taskcontext.h"

#include <functional>

namespace riz {

// The program's task context: the server list, port and proxy of AppParam, the logged-in
// customer row of DataModuleCust, the cipher of DataCollectionEncryption and the clock. The
// connection problem dialog is installed by the program (it lives above the task layer).
class TAppTaskContext final : public TTaskContext
{
public:
    TServerNames& Servers() override;
    int HttpPort() const override;
    TProxyInfo Proxy() const override;
    void SaveParameters() override;
    // The notice lies on the maker's web site: the host of sWebsiteHome with the path of the
    // notice; the port is the service's, inserted by the transport like for every request.
    std::string InterruptionNoticeUrl() const override;
    std::string LoginEmail() const override;
    std::string LoginPassword() const override;
    void StoreLatestVersion(const std::string& version) override;
    const TZKCrypt& Crypt() const override;
    double Now() const override;
    int ShowConnectionError(const std::string& errorText) override;
    // Savepoints of every table of the four data modules.
    std::function<void()> MarkTables() override;

    std::function<int(const std::string&)> ConnectionErrorDialog;

    // "http://" + host of the address + path; for the notice URL and tests.
    static std::string NoticeUrlFor(const std::string& websiteHome);
};

} // namespace riz
