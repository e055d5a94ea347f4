#include "tests/support/proxyprocess.h"

#include "tests/support/standinserver.h"
#include "tests/support/testpaths.h"

#include <QProcess>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace riz::test {

ProxyProcess::ProxyProcess(Kind kind) : m_kind(kind)
{
    const std::string script = SourceDir() + "/tests/support/socks4a-proxy.pl";
    const char* binary = kind == Kind::Socks ? "/usr/sbin/danted"
                         : kind == Kind::Http ? "/usr/bin/tinyproxy"
                                              : "/usr/bin/perl";
    if (kind == Kind::Socks4a &&
        std::system("/usr/bin/perl -MIO::Socket::Socks -e 1 2>/dev/null") != 0) {
        m_why = "Perl's IO::Socket::Socks is not installed (scripts/install-deps.sh installs it)";
        m_unavailable = true;
        return;
    }
    if (access(binary, X_OK) != 0) {
        m_why = std::string(binary) + " is not installed (scripts/install-deps.sh installs it)";
        m_unavailable = true;
        return;
    }
    if (kind == Kind::Socks && !EnsureUser())
        return;
    if (kind == Kind::Socks && geteuid() != 0) {
        m_why = "dante runs as root here";
        m_unavailable = true;
        return;
    }
    m_dir = TempDir("riz-proxy");
    m_port = FreeLoopbackPort();
    const std::string conf = m_dir + (kind == Kind::Socks ? "/danted.conf" : "/tinyproxy.conf");
    // The unprivileged user must be able to write the log.
    chmod(m_dir.c_str(), 0777);
    std::ofstream out(conf);
    QStringList args;
    if (kind == Kind::Socks) {
        out << "logoutput: " << m_dir << "/proxy.log\n"
            << "internal: 127.0.0.1 port = " << m_port << "\n"
            << "external: 127.0.0.1\n"
            << "clientmethod: none\n"
            // SOCKS5 clients that offer a password must log in; SOCKS4 has no methods at all.
            << "socksmethod: username none\n";
        if (geteuid() == 0)
            out << "user.privileged: root\nuser.unprivileged: nobody\n";
        out << "client pass { from: 127.0.0.0/8 to: 0.0.0.0/0 }\n"
            << "socks pass {\n  from: 127.0.0.0/8 to: 0.0.0.0/0\n  protocol: tcp\n  log: connect\n}\n";
        args << "-f" << QString::fromStdString(conf) << "-N" << "1"
             << "-p" << QString::fromStdString(m_dir + "/danted.pid");
    } else if (kind == Kind::Socks4a) {
        args << QString::fromStdString(script) << QString::number(m_port)
             << QString::fromStdString(m_dir + "/proxy.log");
    } else {
        out << "Port " << m_port << "\nListen 127.0.0.1\nTimeout 30\nAllow 127.0.0.1\n"
            << "MaxClients 20\nLogLevel Info\nLogFile \"" << m_dir << "/proxy.log\"\n"
            << "PidFile \"" << m_dir << "/tinyproxy.pid\"\n";
        if (geteuid() == 0)
            out << "User nobody\nGroup nogroup\n";
        args << "-d" << "-c" << QString::fromStdString(conf);
    }
    out.close();
    m_process = std::make_unique<QProcess>();
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    m_process->start(QString::fromUtf8(binary), args);
    if (!m_process->waitForStarted(5000)) {
        m_why = std::string("cannot start ") + binary;
        return;
    }
    if (!WaitForPort(10000)) {
        m_process->waitForReadyRead(100);
        m_why = std::string(binary) + " does not listen: " + m_process->readAll().toStdString() +
                Log();
        return;
    }
    m_running = true;
}

ProxyProcess::~ProxyProcess()
{
    if (m_process && m_process->state() != QProcess::NotRunning) {
        m_process->terminate();
        if (!m_process->waitForFinished(3000)) {
            m_process->kill();
            m_process->waitForFinished(3000);
        }
    }
}

std::string ProxyProcess::Log() const
{
    std::ifstream in(m_dir + "/proxy.log");
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

bool ProxyProcess::EnsureUser()
{
    if (getpwnam(kUser))
        return true;
    if (geteuid() != 0) {
        m_why = std::string("the SOCKS5 account '") + kUser +
                "' does not exist and only root may create it";
        m_unavailable = true;
        return false;
    }
    const std::string add = std::string("useradd --system --no-create-home --shell /usr/sbin/nologin ") +
                            kUser + " && echo '" + kUser + ":" + kPassword + "' | chpasswd";
    if (std::system(add.c_str()) != 0 || !getpwnam(kUser)) {
        m_why = std::string("cannot create the SOCKS5 account '") + kUser + "'";
        return false;
    }
    return true;
}

bool ProxyProcess::WaitForPort(int ms) const
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < until) {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        addr.sin_port = htons(static_cast<uint16_t>(m_port));
        const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
        ::close(fd);
        if (ok)
            return true;
        if (m_process->state() == QProcess::NotRunning)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

} // namespace riz::test
