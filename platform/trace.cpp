#include "platform/trace.h"

#include "platform/clock.h"
#include "platform/text.h"

#include <QDebug>
#include <cstdio>

namespace riz {

std::string TraceLine(const std::string& message)
{
    const std::string stamp = FormatShortDateTime(Clock::Now());
    std::string line;
    line.reserve(stamp.size() + message.size() + 3);
    line += '[';
    line += stamp;
    line += "] ";
    line += message;
    return line;
}

void Trace(const std::string& message)
{
    qDebug().noquote() << ToQString(TraceLine(message));
}

} // namespace riz
