#include "protocol/csparam.h"

#include "platform/calendar.h"
#include "protocol/cserror.h"
#include "protocol/cstable.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace riz {
namespace coding {

std::string CodeText(const std::string& text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 8 + 4);
    for (char c : text) {
        if (c == '\\' || c == '<' || c == '>')
            out += '\\';
        out += c;
    }
    return out;
}

namespace {

// True for the bytes a coded value treats specially.
inline bool IsSpecial(unsigned char c)
{
    return c == '\\' || c == '<' || c == '>';
}

std::string Unescape(const std::string& value, bool bytes)
{
    std::string out;
    out.reserve(value.size());
    const char* p = value.data();
    const char* const end = p + value.size();
    while (p < end) {
        // Plain runs are copied whole; most values have few escapes or none.
        const char* run = p;
        while (p < end && !IsSpecial(static_cast<unsigned char>(*p)))
            ++p;
        out.append(run, p);
        if (p == end)
            break;
        if (*p != '\\')
            throw ECSError(1003); // an unescaped "<" or ">"
        if (p + 1 == end)
            break; // a backslash at the very end is dropped
        const char e = p[1];
        if (IsSpecial(static_cast<unsigned char>(e)))
            out += e;
        else if (bytes && e == '0')
            out += '\0';
        else
            throw ECSError(1003);
        p += 2;
    }
    return out;
}

} // namespace

std::string DecodeText(const std::string& value)
{
    return Unescape(value, false);
}

std::string CodeBytes(const std::string& bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4 + 4);
    for (char c : bytes) {
        if (c == '\0') {
            out += "\\0";
            continue;
        }
        if (c == '\\' || c == '<' || c == '>')
            out += '\\';
        out += c;
    }
    return out;
}

std::string DecodeBytes(const std::string& value)
{
    return Unescape(value, true);
}

std::string CodeInt(std::int32_t value)
{
    return std::to_string(value);
}

std::int32_t DecodeInt(const std::string& value)
{
    // The longest leading decimal integer after blanks and an optional sign, as atol reads it.
    size_t i = 0;
    const size_t n = value.size();
    while (i < n && (value[i] == ' ' || (value[i] >= '\t' && value[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < n && (value[i] == '+' || value[i] == '-')) {
        negative = value[i] == '-';
        ++i;
    }
    long long v = 0;
    while (i < n && value[i] >= '0' && value[i] <= '9') {
        if (v < 10000000000LL)
            v = v * 10 + (value[i] - '0');
        ++i;
    }
    if (negative)
        v = -v;
    if (v > INT32_MAX)
        return INT32_MAX;
    if (v < INT32_MIN)
        return INT32_MIN;
    return static_cast<std::int32_t>(v);
}

std::string CodeFloat(double value)
{
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 17);
    return std::string(buf, res.ptr);
}

double DecodeFloat(const std::string& value)
{
    // atof: leading blanks, then the longest number it can read; 0 when there is none.
    size_t i = 0;
    while (i < value.size() && (value[i] == ' ' || (value[i] >= '\t' && value[i] <= '\r')))
        ++i;
    const char* first = value.data() + i;
    const char* last = value.data() + value.size();
    if (first < last && *first == '+')
        ++first;
    double out = 0;
    auto res = std::from_chars(first, last, out, std::chars_format::general);
    if (res.ec == std::errc::result_out_of_range) {
        // from_chars leaves out untouched on overflow; atof gives infinity or zero.
        return std::strtod(std::string(first, last).c_str(), nullptr);
    }
    if (res.ec != std::errc())
        return 0;
    return out;
}

std::string CodeDateTime(double value)
{
    if (!std::isfinite(value))
        value = 0;
    double dayPart = std::trunc(value);
    long long secs = std::llround(std::fabs(value - dayPart) * 86400.0);
    if (secs >= 86400) {
        secs -= 86400;
        dayPart += value >= 0 ? 1 : -1;
    }
    int y = 0, m = 0, d = 0;
    calendar::CivilFromDays(static_cast<long long>(dayPart) + calendar::kEpochOffset, y, m, d);
    char buf[48];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", y, m, d,
                  static_cast<int>(secs / 3600), static_cast<int>(secs / 60 % 60),
                  static_cast<int>(secs % 60));
    return buf;
}

namespace {
int StrToInt(const std::string& value, size_t pos, size_t len)
{
    int v = 0;
    for (size_t i = pos; i < pos + len; ++i) {
        const char c = value[i];
        if (c < '0' || c > '9')
            throw EConvertError("'" + value.substr(pos, len) + "' ist kein gültiger Integerwert");
        v = v * 10 + (c - '0');
    }
    return v;
}
} // namespace

double DecodeDateTime(const std::string& value)
{
    if (value.size() != 19 && value.size() != 10)
        return 0;
    const int year = StrToInt(value, 0, 4);
    const int month = StrToInt(value, 5, 2);
    const int day = StrToInt(value, 8, 2);
    if (!calendar::IsValidDate(year, month, day))
        throw EConvertError("Ungültiges Datum: " + value);
    double result = calendar::DateValue(year, month, day);
    if (value.size() == 19) {
        const int hour = StrToInt(value, 11, 2);
        const int minute = StrToInt(value, 14, 2);
        const int second = StrToInt(value, 17, 2);
        if (hour > 23 || minute > 59 || second > 59)
            throw EConvertError("Ungültige Uhrzeit: " + value);
        const double time = ((hour * 60.0 + minute) * 60.0 + second) / 86400.0;
        result = result >= 0 ? result + time : result - time;
    }
    return result;
}

} // namespace coding

TCSParam::TCSParam(std::string name, const std::string& text)
    : Name(std::move(name)), Value(coding::CodeText(text))
{
}

TCSParam::TCSParam(std::string name, const char* text)
    : Name(std::move(name)), Value(coding::CodeText(text ? text : ""))
{
}

TCSParam::TCSParam(std::string name, std::int32_t value)
    : Name(std::move(name)), Value(coding::CodeInt(value))
{
}

TCSParam::TCSParam(std::string name, const TCSTable& table) : Name(std::move(name))
{
    SetTable(table);
}

TCSParam TCSParam::Text(std::string name, const std::string& text)
{
    return TCSParam(std::move(name), text);
}

TCSParam TCSParam::Int(std::string name, std::int32_t value)
{
    return TCSParam(std::move(name), value);
}

TCSParam TCSParam::Float(std::string name, double value)
{
    TCSParam p;
    p.Name = std::move(name);
    p.SetFloat(value);
    return p;
}

TCSParam TCSParam::DateTime(std::string name, double value)
{
    TCSParam p;
    p.Name = std::move(name);
    p.SetDateTime(value);
    return p;
}

TCSParam TCSParam::Table(std::string name, const TCSTable& table)
{
    return TCSParam(std::move(name), table);
}

TCSParam TCSParam::Stream(std::string name, const std::string& bytes)
{
    TCSParam p;
    p.Name = std::move(name);
    p.SetStream(bytes);
    return p;
}

void TCSParam::SetString(const std::string& text)
{
    Value = coding::CodeText(text);
}

void TCSParam::SetInt(std::int32_t value)
{
    Value = coding::CodeInt(value);
}

void TCSParam::SetFloat(double value)
{
    Value = coding::CodeFloat(value);
}

void TCSParam::SetDateTime(double value)
{
    Value = coding::CodeDateTime(value);
}

void TCSParam::SetTable(const TCSTable& table)
{
    Value = coding::CodeText(table.EncodedText());
}

void TCSParam::SetStream(const std::string& bytes)
{
    Value = coding::CodeBytes(bytes);
}

std::string TCSParam::AsString() const
{
    return coding::DecodeText(Value);
}

std::int32_t TCSParam::AsInt() const
{
    return coding::DecodeInt(Value);
}

double TCSParam::AsFloat() const
{
    return coding::DecodeFloat(Value);
}

double TCSParam::AsDateTime() const
{
    return coding::DecodeDateTime(Value);
}

TCSTable TCSParam::AsTable() const
{
    TCSTable table;
    try {
        table.Decode(coding::DecodeText(Value));
    } catch (const ECSError& e) {
        throw ECSError(e.Code);
    }
    return table;
}

std::string TCSParam::AsStream() const
{
    return coding::DecodeBytes(Value);
}

std::string TCSParam::Encode() const
{
    std::string out;
    out.reserve(Name.size() + 1 + Value.size());
    out += Name;
    out += '=';
    out += Value;
    return out;
}

void TCSParam::Decode(const std::string& text)
{
    const size_t eq = text.find('=');
    if (eq == std::string::npos)
        throw ECSError(1001);
    if (eq == 0)
        throw ECSError(1002);
    Name = text.substr(0, eq);
    Value = text.substr(eq + 1);
}

} // namespace riz
