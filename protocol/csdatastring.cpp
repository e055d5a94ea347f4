#include "protocol/csdatastring.h"

#include "protocol/ansicase.h"
#include "protocol/cserror.h"

#include <cstring>

namespace riz {
using ansi::SameText;

void TCSDataString::AddAttributes()
{
    AddAttribute("TYPE", Type);
    AddAttribute("NAME", Name);
    AddAttribute("VER", Ver);
    AddAttribute("PROGVER", ProgVer);
}

void TCSDataString::EncodeContent()
{
    size_t size = Text.size() + 16;
    for (const auto& p : Params)
        size += p->Name.size() + p->Value.size() + 3;
    Text.reserve(size);
    for (const auto& p : Params) {
        Text += p->Name;
        Text += '=';
        Text += p->Value;
        Text += "\\p";
    }
}

void TCSDataString::Decode(const std::string& text)
{
    Text = text;
    DecodeTag();
    ClearParams();
    Type = GetAttribute("TYPE");
    Name = GetAttribute("NAME");
    Ver = GetAttribute("VER");
    ProgVer = GetAttribute("PROGVER");

    // A parameter's text is everything up to its "\p"; any other escape pair belongs to the
    // text unchanged, so the text is taken over as one piece.
    const char* start = Content.data();
    const char* p = start;
    const char* const end = start + Content.size();
    while (p < end) {
        const char* bs = static_cast<const char*>(std::memchr(p, '\\', static_cast<size_t>(end - p)));
        if (!bs || bs + 1 == end)
            break;
        if (bs[1] != 'p') {
            p = bs + 2;
            continue;
        }
        TCSParam param;
        try {
            param.Decode(std::string(start, bs));
        } catch (const ECSError& e) {
            throw ECSError(e.Code);
        }
        AddParam(std::move(param));
        start = p = bs + 2;
    }
    // Text after the last "\p" is not a parameter.
}

void TCSDataString::AddParam(TCSParam param)
{
    for (const auto& p : Params)
        if (p->Name == param.Name)
            throw ECSError(2001);
    Params.push_back(std::make_unique<TCSParam>(std::move(param)));
}

TCSParam* TCSDataString::Find(const std::string& name) const
{
    for (const auto& p : Params)
        if (SameText(p->Name, name))
            return p.get();
    return nullptr;
}

TCSParam& TCSDataString::GetParam(const std::string& name)
{
    TCSParam* p = Find(name);
    if (!p)
        throw ECSError(2002, name);
    return *p;
}

const TCSParam& TCSDataString::GetParam(const std::string& name) const
{
    TCSParam* p = Find(name);
    if (!p)
        throw ECSError(2002, name);
    return *p;
}

bool TCSDataString::HasParam(const std::string& name) const
{
    return Find(name) != nullptr;
}

} // namespace riz
