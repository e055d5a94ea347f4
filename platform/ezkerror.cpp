#include "platform/ezkerror.h"

#include "platform/strings.h"

namespace riz {

EZKError::EZKError(int code, int detailNumber, std::string detailString)
    : Code(code), DetailNumber(detailNumber), DetailString(std::move(detailString))
{
    m_message = "\nZK exception";
    m_message += "\n- Code: " + std::to_string(Code);
    m_message += "\n- Description: " + LoadStr(Code);
    m_message += "\n- Detail Number: " + std::to_string(DetailNumber);
    m_message += "\n- Detail String: " + DetailString;
}

} // namespace riz
