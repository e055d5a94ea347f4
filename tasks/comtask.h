#pragma once

#include "protocol/csdatastring.h"
#include "protocol/httpcom.h"

#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace riz {

enum TComTaskRetryType : std::uint8_t {
    rtAskUserToRepeat = 0,
    rtAutoRepeat = 1,
    rtDependsOnErrorEventHandler = 2,
    rtNoRepeat = 3,
};

enum eComTaskErrorType : std::uint8_t {
    etHttpError = 0,
    etDecodeError = 1,
    etServiceInterruption = 2,
    etConnectError = 3,
    etConnectTimeout = 4,
    etAnswerTimeout = 5,
};

// The string-table text shown for an error type.
int ErrorMessageId(eComTaskErrorType type);

// Result codes of the framework itself, next to the service's "rslt" values.
inline constexpr int kResultGaveUp = 4;
inline constexpr int kResultNothingSent = 9;

// One exchange with the service: builds its request, sends it encrypted, walks the other
// servers on failure, asks the user when all fail, decodes the answer and reports a result.
class TComTask
{
public:
    TComTask(int taskId, TComTaskRetryType retryType, bool useErrorEvent, int userValue);
    virtual ~TComTask();
    TComTask(const TComTask&) = delete;
    TComTask& operator=(const TComTask&) = delete;

    virtual void Start();
    virtual void Cancel();

    std::function<void(int taskId, int resultCode, int userValue)> OnComTaskDone;
    std::function<void(TComTaskRetryType& retry)> OnComTaskError;

    int TaskId = 0;
    std::string Host;
    bool Idle = false;
    bool Aborted = false;
    int UserValue = -1;
    TComTaskRetryType RetryType = rtAskUserToRepeat;
    bool UseErrorEvent = false;
    bool CheckServiceInterruption = false;
    std::string RequestText;
    std::string InterruptionText;

    THttpCom& HttpCom() { return *m_http; }

protected:
    virtual void AssembleDataString(TCSDataString& message) = 0;
    virtual void AnalyseResult(TCSDataString& answer);

    void ReportDone(int resultCode);

private:
    void SendRequest();
    void HttpComResult(const std::string& status, std::unique_ptr<std::string> body);
    void ErrorHandler(eComTaskErrorType type);
    void RedirectHandler(const std::string& list);
    void RestartTimerTimer();

    std::unique_ptr<THttpCom> m_http;
    QTimer m_restartTimer;
    bool m_cancelled = false;
};

// What every request of this service shares: the header, the login and the version check.
class TComTaskZK : public TComTask
{
public:
    explicit TComTaskZK(int taskId);

protected:
    void AnalyseResult(TCSDataString& answer) override;

    static void SetHeader(TCSDataString& message, const std::string& requestName,
                          const std::string& version);
    static void AddLogin(TCSDataString& message);
    static void AddLogin(TCSDataString& message, const std::string& email,
                         const std::string& password);
    static void CheckLatestVersion(const TCSDataString& answer);
};

} // namespace riz
