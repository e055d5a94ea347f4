#pragma once

#include <QString>

namespace riz {

// How the texts of a list's date column are read.
enum class TDateColumnType
{
    dctDate,
    dctDateTime,
    dctDateWithoutYear
};

// Reads a date column text ("dd.mm.yyyy", with dctDateTime optionally " hh:nn[:ss]");
// for dctDateWithoutYear the year becomes 2000 so that 29 February stays valid.
bool TryReadListDate(const QString& text, TDateColumnType type, double& value);

// The sort comparison of two cell texts: an empty first text is -1, an empty second text +1;
// dates compare as dates (equal dates give +1), other texts by the German collation without
// regard to case. The descending flag negates every result.
int ListViewCompareTexts(const QString& text1, const QString& text2, bool dateColumn,
                         TDateColumnType type, bool descending);

} // namespace riz
