#pragma once

#include "data/clientdataset.h"

#include <string>

namespace riz {

// Conversions between cell values and the field types, as the table's field accessors and
// the row copy by field name use them. Texts of numbers use the German decimal comma and
// accept a point as well; a text that is no number raises EConvertError.
TValue ConvertValue(const TValue& value, TFieldType type, int size);
std::string ValueToString(const TValue& value, TFieldType type);
std::int32_t ValueToInt(const TValue& value);
double ValueToFloat(const TValue& value);
bool ValueToBool(const TValue& value);
// Null first, then numbers, then texts (without regard to case, bytes breaking ties).
int CompareValues(const TValue& a, const TValue& b);

std::string FloatToStr(double value);
bool TryStrToFloat(const std::string& text, double& out);
bool TryStrToInt(const std::string& text, std::int32_t& out);

} // namespace riz
