#pragma once

#include <exception>
#include <functional>
#include <string>

namespace riz {

// Every fault of writing or reading a tagged message.
class ECSError : public std::exception
{
public:
    explicit ECSError(int code, std::string detailString = std::string(), int detailNumber = 0);

    const char* what() const noexcept override { return m_message.c_str(); }

    int Code = 0;
    int DetailNumber = 0;
    std::string DetailString;

    // The description line is the string-table text whose id is the code. The protocol library
    // has no string table of its own; the application installs the lookup.
    static void SetDescriptionLookup(std::function<std::string(int)> lookup);

private:
    std::string m_message;
};

} // namespace riz
