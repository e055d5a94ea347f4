#pragma once

#include <string>
#include <utility>
#include <vector>

namespace riz {

// Base of everything written as one element: "<Tag a="v" ...>Content</Tag>".
class TCSTagCoderDecoder
{
public:
    explicit TCSTagCoderDecoder(std::string tag) : Tag(std::move(tag)) {}
    virtual ~TCSTagCoderDecoder() = default;

    TCSTagCoderDecoder(const TCSTagCoderDecoder&) = default;
    TCSTagCoderDecoder& operator=(const TCSTagCoderDecoder&) = default;
    TCSTagCoderDecoder(TCSTagCoderDecoder&&) = default;
    TCSTagCoderDecoder& operator=(TCSTagCoderDecoder&&) = default;

    virtual void Decode(const std::string& text) = 0;
    // Builds Text; raises 4007 when Tag is empty.
    const std::string& Encode();

    // Splits Text into attributes and Content; raises 4001 to 4005.
    void DecodeTag();
    void AddAttribute(const std::string& name, const std::string& value);
    std::string GetAttribute(const std::string& name) const;
    void ClearAttributes();

    std::string Text;
    std::string Tag;
    std::vector<std::pair<std::string, std::string>> Attributes;
    std::string Content;

protected:
    virtual void AddAttributes() {}
    virtual void EncodeContent() = 0;
};

} // namespace riz
