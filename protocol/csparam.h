#pragma once

#include <cstdint>
#include <string>

namespace riz {

class TCSTable;

// One named value of a message, or one cell of a table. Value is always kept in its coded
// form; setters code and getters decode. Binary blocks are held as byte strings.
class TCSParam
{
public:
    TCSParam() = default;
    TCSParam(std::string name, const std::string& text);
    TCSParam(std::string name, const char* text);
    TCSParam(std::string name, std::int32_t value);
    TCSParam(std::string name, const TCSTable& table);

    static TCSParam Text(std::string name, const std::string& text);
    static TCSParam Int(std::string name, std::int32_t value);
    static TCSParam Float(std::string name, double value);
    static TCSParam DateTime(std::string name, double value);
    static TCSParam Table(std::string name, const TCSTable& table);
    static TCSParam Stream(std::string name, const std::string& bytes);

    void SetString(const std::string& text);
    void SetInt(std::int32_t value);
    void SetFloat(double value);
    void SetDateTime(double value);
    void SetTable(const TCSTable& table);
    void SetStream(const std::string& bytes);

    std::string AsString() const;  // raises 1003
    std::int32_t AsInt() const;
    double AsFloat() const;
    double AsDateTime() const;     // raises EConvertError for an impossible date
    TCSTable AsTable() const;      // raises the table's ECSError with an empty detail
    std::string AsStream() const;  // raises 1003

    std::string Encode() const;
    void Decode(const std::string& text); // raises 1001, 1002

    std::string Name;
    std::string Value;
};

// The value codings, also used where a coded value is built or read without a parameter.
namespace coding {
std::string CodeText(const std::string& text);
std::string DecodeText(const std::string& value); // raises 1003
std::string CodeBytes(const std::string& bytes);
std::string DecodeBytes(const std::string& value); // raises 1003
std::string CodeInt(std::int32_t value);
std::int32_t DecodeInt(const std::string& value);
std::string CodeFloat(double value);
double DecodeFloat(const std::string& value);
std::string CodeDateTime(double value);
double DecodeDateTime(const std::string& value);
} // namespace coding

} // namespace riz
