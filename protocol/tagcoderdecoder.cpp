#include "protocol/tagcoderdecoder.h"

#include "protocol/cserror.h"

namespace riz {
namespace {

bool IsNameChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

bool IsBareChar(char c)
{
    return (c >= '0' && c <= '9') || c == '.';
}

} // namespace

const std::string& TCSTagCoderDecoder::Encode()
{
    if (Tag.empty())
        throw ECSError(4007);
    ClearAttributes();
    AddAttributes();
    Text.clear();
    Text += '<';
    Text += Tag;
    for (const auto& [name, value] : Attributes) {
        Text += ' ';
        Text += name;
        Text += "=\"";
        Text += value;
        Text += '"';
    }
    Text += '>';
    EncodeContent();
    Text += "</";
    Text += Tag;
    Text += '>';
    return Text;
}

void TCSTagCoderDecoder::DecodeTag()
{
    ClearAttributes();
    const size_t L = Text.size();
    const size_t t = Tag.size();
    if (L < 2 * t + 5)
        throw ECSError(4001);
    if (Text.compare(0, t + 1, "<" + Tag) != 0)
        throw ECSError(4002);
    if (Text.compare(L - (t + 3), t + 3, "</" + Tag + ">") != 0)
        throw ECSError(4003);
    const size_t gt = Text.find('>'); // 0-based; the closing tag guarantees one
    if (gt == L - 1)
        throw ECSError(4004);

    // Attribute text: after "<Tag" up to the first ">".
    const size_t attrBegin = t + 1;
    const size_t attrEnd = gt;
    const size_t contentBegin = gt + 1;
    const size_t contentEnd = L - (t + 3);
    Content = contentEnd > contentBegin ? Text.substr(contentBegin, contentEnd - contentBegin)
                                        : std::string();

    enum class State { Between, Name, AfterEquals, Quoted, Bare };
    State state = State::Between;
    std::string name;
    std::string value;
    bool escaped = false;
    for (size_t i = attrBegin; i < attrEnd; ++i) {
        const char c = Text[i];
        switch (state) {
        case State::Between:
            if (c == ' ')
                break;
            if (!IsNameChar(c))
                throw ECSError(4005);
            name.assign(1, c);
            state = State::Name;
            break;
        case State::Name:
            if (c == '=') {
                state = State::AfterEquals;
            } else if (IsNameChar(c)) {
                name += c;
            } else {
                throw ECSError(4005);
            }
            break;
        case State::AfterEquals:
            if (c == '"') {
                value.clear();
                escaped = false;
                state = State::Quoted;
            } else if (IsBareChar(c)) {
                value.assign(1, c);
                state = State::Bare;
            } else {
                throw ECSError(4005);
            }
            break;
        case State::Quoted:
            if (escaped) {
                value += c;
                escaped = false;
            } else if (c == '\\') {
                escaped = true;
            } else if (c == '"') {
                Attributes.emplace_back(name, value);
                state = State::Between;
            } else {
                value += c;
            }
            break;
        case State::Bare:
            if (c == ' ') {
                Attributes.emplace_back(name, value);
                state = State::Between;
            } else if (IsBareChar(c)) {
                value += c;
            } else {
                throw ECSError(4005);
            }
            break;
        }
    }
    // A value still open when the attribute text ends is left out.
}

void TCSTagCoderDecoder::AddAttribute(const std::string& name, const std::string& value)
{
    Attributes.emplace_back(name, value);
}

std::string TCSTagCoderDecoder::GetAttribute(const std::string& name) const
{
    for (const auto& [n, v] : Attributes)
        if (n == name)
            return v;
    return std::string();
}

void TCSTagCoderDecoder::ClearAttributes()
{
    Attributes.clear();
}

} // namespace riz
