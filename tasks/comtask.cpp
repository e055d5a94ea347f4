#include "tasks/comtask.h"

#include "platform/strings.h"
#include "platform/trace.h"
#include "platform/widgets/appexceptionhook.h"
#include "platform/widgets/msgbox.h"
#include "protocol/answerbody.h"
#include "protocol/serverenvelope.h"
#include "tasks/taskcontext.h"

namespace riz {

int ErrorMessageId(eComTaskErrorType type)
{
    switch (type) {
    case etHttpError: return 10904;
    case etDecodeError: return 10905;
    case etServiceInterruption: return 50305;
    case etConnectError:
    case etConnectTimeout: return 10906;
    case etAnswerTimeout: return 10907;
    }
    return 10901;
}

TComTask::TComTask(int taskId, TComTaskRetryType retryType, bool useErrorEvent, int userValue)
    : TaskId(taskId), UserValue(userValue), RetryType(retryType), UseErrorEvent(useErrorEvent),
      m_http(std::make_unique<THttpCom>())
{
    m_restartTimer.setInterval(TaskContext().RestartDelayMs);
    QObject::connect(&m_restartTimer, &QTimer::timeout, [this] { RestartTimerTimer(); });
    m_http->OnResult = [this](const std::string& status, std::unique_ptr<std::string> body) {
        HttpComResult(status, std::move(body));
    };
    auto failure = [this](eComTaskErrorType type) {
        ErrorHandler(type);
        Idle = true;
    };
    m_http->OnError = [failure] { failure(etConnectError); };
    m_http->OnConnectTimeout = [failure] { failure(etConnectTimeout); };
    m_http->OnAnswerTimeout = [failure] { failure(etAnswerTimeout); };
}

TComTask::~TComTask()
{
    m_restartTimer.stop();
    m_http->Cancel();
}

void TComTask::ReportDone(int resultCode)
{
    if (m_cancelled)
        return;
    if (OnComTaskDone)
        OnComTaskDone(TaskId, resultCode, UserValue);
}

void TComTask::Start()
{
    TCSDataString message;
    message.Type = "RQST";
    Aborted = false;
    AssembleDataString(message);
    message.AddParam(TCSParam("my_version", LoadStr(50001)));
    if (Aborted) {
        ReportDone(kResultNothingSent);
        Idle = true;
        return;
    }
    const TTaskContext& ctx = TaskContext();
    RequestText = std::string(kRequestPrefix) + ctx.Crypt().EncryptRequest(message.Encode(), ctx.Now());
    SendRequest();
}

void TComTask::Cancel()
{
    m_cancelled = true;
    m_restartTimer.stop();
    m_http->Cancel();
}

void TComTask::SendRequest()
{
    TTaskContext& ctx = TaskContext();
    Idle = false;
    std::string url;
    if (CheckServiceInterruption) {
        url = ctx.InterruptionNoticeUrl();
    } else {
        if (Host.empty())
            Host = ctx.Servers().CurrentServer();
        url = "http://" + Host + LoadStr(50301) + RequestText;
    }
    try {
        m_http->Get(url, ctx.HttpPort(), ctx.AnswerTimeoutMs, ctx.ConnectTimeoutMs, ctx.Proxy());
    } catch (const std::exception& e) {
        ReportApplicationException(e);
    }
}

void TComTask::HttpComResult(const std::string& status, std::unique_ptr<std::string> body)
{
    TTaskContext& ctx = TaskContext();
    if (status == "200") {
        const std::string text = body ? std::move(*body) : std::string();
        body.reset();
        if (CheckServiceInterruption) {
            InterruptionText = text;
            ErrorHandler(etServiceInterruption);
            Idle = true;
            return;
        }
        // The server that answered is tried first from now on, also after a restart.
        ctx.Servers().SetCurrentServer(Host);
        ctx.SaveParameters();

        TCSDataString answer;
        try {
            DecodeAnswerBody(text, ctx.Crypt(), answer);
        } catch (const std::exception& e) {
            Trace(std::string("answer not decoded: ") + e.what());
            ErrorHandler(etDecodeError);
            Idle = true;
            return;
        }
        std::function<void()> undo;
        try {
            const int r = answer.GetParam("rslt").AsInt();
            if (r == 6) {
                RedirectHandler(answer.GetParam("server_list").AsString());
                Idle = true;
                return;
            }
            undo = ctx.MarkTables();
            AnalyseResult(answer);
        } catch (const std::exception& e) {
            // Storing is all or nothing: the tables return to where they were before the answer.
            if (undo)
                undo();
            // Reported like any exception that leaves an event: the dialog stays until the user
            // cancels it.
            ReportApplicationException(e);
            return;
        }
    } else if (!status.empty()) {
        ErrorHandler(etHttpError);
    }
    Idle = true;
}

void TComTask::ErrorHandler(eComTaskErrorType type)
{
    TTaskContext& ctx = TaskContext();
    Host = ctx.Servers().NextServer();
    if (!Host.empty()) {
        m_restartTimer.start();
        Idle = true;
        return;
    }
    if (!CheckServiceInterruption && RetryType == rtAskUserToRepeat) {
        CheckServiceInterruption = true;
        m_restartTimer.start();
        Idle = true;
        return;
    }
    TComTaskRetryType retry = RetryType;
    if (UseErrorEvent && OnComTaskError)
        OnComTaskError(retry);

    bool again = false;
    switch (retry) {
    case rtAskUserToRepeat:
        if (type == etServiceInterruption)
            again = MsgBox().Question(Format(LoadStr(50305), InterruptionText));
        else
            again = ctx.ShowConnectionError(LoadStr(ErrorMessageId(type))) == 1;
        break;
    case rtAutoRepeat:
        again = true;
        break;
    case rtDependsOnErrorEventHandler:
    case rtNoRepeat:
        again = false;
        break;
    }
    // A cancel from inside the dialog or question ends the task without a report.
    if (again)
        m_restartTimer.start();
    else
        ReportDone(kResultGaveUp);
    CheckServiceInterruption = false;
}

void TComTask::RedirectHandler(const std::string& list)
{
    TTaskContext& ctx = TaskContext();
    ctx.Servers().SetServerList(list);
    ctx.SaveParameters();
    Host = ctx.Servers().CurrentServer();
    m_restartTimer.start();
}

void TComTask::RestartTimerTimer()
{
    if (!Idle || m_cancelled)
        return;
    m_restartTimer.stop();
    SendRequest();
}

void TComTask::AnalyseResult(TCSDataString& answer)
{
    ReportDone(answer.GetParam("rslt").AsInt());
}

TComTaskZK::TComTaskZK(int taskId) : TComTask(taskId, rtAskUserToRepeat, false, -1) {}

void TComTaskZK::AnalyseResult(TCSDataString& answer)
{
    const int r = answer.GetParam("rslt").AsInt();
    if (r == 0)
        CheckLatestVersion(answer);
    ReportDone(r);
}

void TComTaskZK::SetHeader(TCSDataString& message, const std::string& requestName,
                           const std::string& version)
{
    message.Name = requestName;
    message.Ver = version;
    message.ProgVer = LoadStr(50001);
}

void TComTaskZK::AddLogin(TCSDataString& message)
{
    const TTaskContext& ctx = TaskContext();
    AddLogin(message, ctx.LoginEmail(), ctx.LoginPassword());
}

void TComTaskZK::AddLogin(TCSDataString& message, const std::string& email,
                          const std::string& password)
{
    message.AddParam(TCSParam("email_address", email));
    message.AddParam(TCSParam("password", password));
}

void TComTaskZK::CheckLatestVersion(const TCSDataString& answer)
{
    if (answer.HasParam("latest_version"))
        TaskContext().StoreLatestVersion(answer.GetParam("latest_version").AsString());
}

} // namespace riz
