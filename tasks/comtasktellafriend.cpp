#include "tasks/comtasktellafriend.h"

#include "data/datamodulesms.h"
#include "protocol/cstable.h"

namespace riz {

void TComTaskTellAFriend::AssembleDataString(TCSDataString& message)
{
    SetHeader(message, "TELL_A_FRIEND", "1.00");
    AddLogin(message);
    message.AddParam(TCSParam("app_id", "SMS"));
    TCSTable friends;
    friends.SetColumnCount(2);
    friends.ColumnName(0) = "name";
    friends.ColumnName(1) = "email_address";
    const TDataModuleSMS& sms = *DataModuleSMS;
    for (size_t i = 0; i < sms.FriendNames.size(); ++i) {
        // A row without a name is left out, whatever its address holds.
        if (sms.FriendNames[i].empty())
            continue;
        friends.AddRow();
        friends.CurrentCell(0).SetString(sms.FriendNames[i]);
        friends.CurrentCell(1).SetString(sms.FriendEmails[i]);
    }
    message.AddParam(TCSParam::Table("friends", friends));
}

} // namespace riz
