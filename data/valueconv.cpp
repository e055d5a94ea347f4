#include "data/valueconv.h"

#include "platform/calendar.h"
#include "platform/text.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace riz {
namespace {

std::string DateTimeText(double v, TFieldType type)
{
    if (type == TFieldType::Date)
        return FormatShortDate(v);
    // Like the date-time texts of the German regional settings: no time at midnight.
    if (TimeOf(v) == 0)
        return FormatShortDate(v);
    return FormatShortDateTime(v);
}

[[noreturn]] void Fail(const std::string& text, const char* what)
{
    throw EConvertError("\"" + text + "\" ist kein gültiger " + what);
}

} // namespace

std::string FloatToStr(double value)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", value);
    std::string s = buf;
    for (char& c : s) {
        if (c == '.')
            c = ',';
    }
    return s;
}

bool TryStrToFloat(const std::string& text, double& out)
{
    std::string s = Trim(text);
    if (s.empty())
        return false;
    for (char& c : s) {
        if (c == ',')
            c = '.';
    }
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(s.c_str(), &end);
    if (end != s.c_str() + s.size() || errno == ERANGE || !std::isfinite(v))
        return false;
    out = v;
    return true;
}

bool TryStrToInt(const std::string& text, std::int32_t& out)
{
    const std::string s = Trim(text);
    if (s.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(s.c_str(), &end, 10);
    if (end != s.c_str() + s.size() || errno == ERANGE ||
        v < std::numeric_limits<std::int32_t>::min() ||
        v > std::numeric_limits<std::int32_t>::max())
        return false;
    out = static_cast<std::int32_t>(v);
    return true;
}

std::string ValueToString(const TValue& value, TFieldType type)
{
    if (const auto* s = std::get_if<std::string>(&value))
        return *s;
    if (const auto* i = std::get_if<std::int32_t>(&value))
        return std::to_string(*i);
    if (const auto* d = std::get_if<double>(&value)) {
        if (type == TFieldType::Date || type == TFieldType::DateTime)
            return DateTimeText(*d, type);
        return FloatToStr(*d);
    }
    if (const auto* b = std::get_if<bool>(&value))
        return *b ? "True" : "False";
    return std::string();
}

std::int32_t ValueToInt(const TValue& value)
{
    if (const auto* i = std::get_if<std::int32_t>(&value))
        return *i;
    if (const auto* d = std::get_if<double>(&value)) {
        const double r = std::round(*d);
        if (!(r >= std::numeric_limits<std::int32_t>::min() &&
              r <= std::numeric_limits<std::int32_t>::max()))
            throw EConvertError(FloatToStr(*d) + " ist keine gültige Ganzzahl");
        return static_cast<std::int32_t>(r);
    }
    if (const auto* b = std::get_if<bool>(&value))
        return *b ? 1 : 0;
    if (const auto* s = std::get_if<std::string>(&value)) {
        std::int32_t v = 0;
        if (!TryStrToInt(*s, v))
            Fail(*s, "Ganzzahlwert");
        return v;
    }
    return 0;
}

double ValueToFloat(const TValue& value)
{
    if (const auto* d = std::get_if<double>(&value))
        return *d;
    if (const auto* i = std::get_if<std::int32_t>(&value))
        return *i;
    if (const auto* b = std::get_if<bool>(&value))
        return *b ? 1 : 0;
    if (const auto* s = std::get_if<std::string>(&value)) {
        double v = 0;
        if (TryStrToFloat(*s, v))
            return v;
        TDateTime dt = 0;
        if (TryParseShortDateTime(Trim(*s), dt))
            return dt;
        Fail(*s, "Gleitkommawert");
    }
    return 0;
}

bool ValueToBool(const TValue& value)
{
    if (const auto* b = std::get_if<bool>(&value))
        return *b;
    if (const auto* i = std::get_if<std::int32_t>(&value))
        return *i != 0;
    if (const auto* d = std::get_if<double>(&value))
        return *d != 0;
    if (const auto* s = std::get_if<std::string>(&value)) {
        if (AnsiSameText(*s, "True"))
            return true;
        if (AnsiSameText(*s, "False"))
            return false;
        std::int32_t v = 0;
        if (TryStrToInt(*s, v))
            return v != 0;
        Fail(*s, "boolescher Wert");
    }
    return false;
}

TValue ConvertValue(const TValue& value, TFieldType type, int size)
{
    if (std::holds_alternative<std::monostate>(value))
        return value;
    switch (type) {
    case TFieldType::Integer:
        return ValueToInt(value);
    case TFieldType::String: {
        std::string s = ValueToString(value, type);
        if (size > 0 && s.size() > static_cast<std::size_t>(size))
            s.resize(static_cast<std::size_t>(size));
        return s;
    }
    case TFieldType::Memo:
    case TFieldType::Blob:
    case TFieldType::Graphic:
        return ValueToString(value, type);
    case TFieldType::Date:
        return std::trunc(ValueToFloat(value));
    case TFieldType::DateTime:
    case TFieldType::Float:
        return ValueToFloat(value);
    case TFieldType::Boolean:
        return ValueToBool(value);
    case TFieldType::Nested:
        return TValue();
    }
    return TValue();
}

int CompareValues(const TValue& a, const TValue& b)
{
    const bool an = std::holds_alternative<std::monostate>(a);
    const bool bn = std::holds_alternative<std::monostate>(b);
    if (an || bn)
        return an == bn ? 0 : (an ? -1 : 1);
    const auto* as = std::get_if<std::string>(&a);
    const auto* bs = std::get_if<std::string>(&b);
    if (as && bs) {
        const int c = AnsiCompareText(*as, *bs);
        if (c != 0)
            return c;
        return as->compare(*bs) < 0 ? -1 : (*as == *bs ? 0 : 1);
    }
    if (as || bs)
        return as ? 1 : -1;
    const double x = ValueToFloat(a);
    const double y = ValueToFloat(b);
    return x < y ? -1 : (x > y ? 1 : 0);
}

} // namespace riz
