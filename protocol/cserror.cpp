#include "protocol/cserror.h"

namespace riz {
namespace {
std::function<std::string(int)>& Lookup()
{
    static std::function<std::string(int)> lookup;
    return lookup;
}
} // namespace

ECSError::ECSError(int code, std::string detailString, int detailNumber)
    : Code(code), DetailNumber(detailNumber), DetailString(std::move(detailString))
{
    const std::string description = Lookup() ? Lookup()(Code) : std::string();
    m_message = "\nClient/Server exception";
    m_message += "\n- Code: " + std::to_string(Code);
    m_message += "\n- Description: " + description;
    m_message += "\n- Detail Number: " + std::to_string(DetailNumber);
    m_message += "\n- Detail String: " + DetailString;
}

void ECSError::SetDescriptionLookup(std::function<std::string(int)> lookup)
{
    Lookup() = std::move(lookup);
}

} // namespace riz
