#pragma once

#include <exception>
#include <string>

namespace riz {

// The application's own error: a code from the string table's error range with details.
class EZKError : public std::exception
{
public:
    EZKError(int code, int detailNumber = 0, std::string detailString = std::string());

    const char* what() const noexcept override { return m_message.c_str(); }

    int Code = 0;
    int DetailNumber = 0;
    std::string DetailString;

private:
    std::string m_message;
};

} // namespace riz
