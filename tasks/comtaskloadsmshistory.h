#pragma once

#include "protocol/cstable.h"
#include "tasks/comtask.h"

#include <cstdint>
#include <string>
#include <vector>

namespace riz {

// LOAD_SMS_HISTORY: replaces the logged-in profile's history by the service's, one row per
// message, and rebuilds the folder table from it.
class TComTaskLoadSMSHistory final : public TComTaskZK
{
public:
    using TComTaskZK::TComTaskZK;

protected:
    void AssembleDataString(TCSDataString& message) override;
    void AnalyseResult(TCSDataString& answer) override;
};

// One message of the history: the answer row of its first part, the texts of its parts joined
// by a blank and the ids of its parts, each followed by ",".
struct THistoryMessage
{
    std::int32_t FirstRow = 0;
    std::string Text;
    std::string QueueIds;
};

// Follows the part chains of a history answer (columns "queue_id", "next_queue_id", "text").
// Every row not yet taken by an earlier message starts a message and takes the chain from it:
// a next id leads to the first row with that id, the chain ends at an empty next id, at an id
// the answer does not hold, or where it would come back to a part it already took. So a later
// part listed before its first part is a message of its own, and the first part then another.
// Linear in the size of the answer.
std::vector<THistoryMessage> BuildHistoryMessages(const TCSTable& history);

// Replaces the visible history rows by the messages of the answer table and rebuilds the folder
// table; the files are not written.
void StoreSMSHistory(const TCSTable& history);

} // namespace riz
