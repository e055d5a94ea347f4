#pragma once

#include "service/servicedb.h"
#include "service/serviceoptions.h"

namespace riz::service {

// One pass of the service's timed work at the local date-time now:
// - scheduled messages whose time has come are delivered to the phones;
// - event reminders whose time (event minus remind-before) has come go out by SMS (charged)
//   and/or e-mail as the customer chose;
// - birthdays of the saved address books are reminded three days before and on the day.
// Each item is marked done in the same transaction that sends it, so a pass that fails sends
// nothing twice.
void RunDueWork(TServiceDb& db, const TServiceOptions& options, double now);

} // namespace riz::service
