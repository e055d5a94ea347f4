#pragma once

#include "protocol/csdatastring.h"
#include "protocol/cstable.h"

#include <string>
#include <vector>

namespace riz {

// The table parameters the account tasks build from local records, and a reader for
// the tables of an answer. They are shared helpers rather than members of TComTaskZK so that the
// framework does not depend on the customer tables.

// The 9 columns of an address table and the 11 of a payment table, in their order.
const std::vector<std::string>& AddressTableColumns();
const std::vector<std::string>& PaymentTableColumns();

// One column, one row: names one address or payment method by its nick name.
void AddSingleCellTable(TCSDataString& message, const std::string& name, const std::string& column,
                        const std::string& value);
// An address table from the customer's address records: all of them from the first, or only the
// current one.
void AddAddressTable(TCSDataString& message, const std::string& name, bool all);
// A payment table from the temporary payment records; the expiry cells carry the integer fields
// as decimal text.
void AddPaymentTable(TCSDataString& message, const std::string& name, bool all);

// The rows of an answer table, each row's cells in the order of the columns asked for. Every
// column is looked up before any row is read, so a missing table (ECSError 2002) or column
// (ECSError 3004, its name as detail) is raised before the caller has stored anything.
using TAnswerRows = std::vector<std::vector<TCSParam>>;
TAnswerRows ReadAnswerTable(const TCSDataString& answer, const std::string& name,
                            const std::vector<std::string>& columns);

} // namespace riz
