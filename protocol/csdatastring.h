#pragma once

#include "protocol/csparam.h"
#include "protocol/tagcoderdecoder.h"

#include <memory>
#include <string>
#include <vector>

namespace riz {

// One request or answer: <ZK TYPE=".." NAME=".." VER=".." PROGVER="..">name=value\p...</ZK>
class TCSDataString final : public TCSTagCoderDecoder
{
public:
    TCSDataString() : TCSTagCoderDecoder("ZK") {}

    void Decode(const std::string& text) override;

    // Takes the parameter; raises 2001 when one of exactly that name is already there.
    void AddParam(TCSParam param);
    // First parameter of that name, ignoring case; raises 2002 with the name as detail.
    TCSParam& GetParam(const std::string& name);
    const TCSParam& GetParam(const std::string& name) const;
    bool HasParam(const std::string& name) const;
    void ClearParams() { Params.clear(); }

    std::string Type;
    std::string Name;
    std::string Ver;
    std::string ProgVer;
    std::vector<std::unique_ptr<TCSParam>> Params;

protected:
    void AddAttributes() override;
    void EncodeContent() override;

private:
    TCSParam* Find(const std::string& name) const;
};

} // namespace riz
