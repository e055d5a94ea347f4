#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace riz {

// The 160-bit digest of the request envelope. It is built like SHA-1 but every left rotation
// by n bits is (x >> n) | (x >> (32 - n)), so its values differ from SHA-1's; the service
// computes the same function.
class TZKDigest final
{
public:
    using Result = std::array<std::uint32_t, 5>;

    TZKDigest() { Init(); }
    void Init();
    void Update(const void* data, std::size_t length);
    Result Final();

    static Result Of(const std::string& text);

private:
    void Block(const unsigned char* block);

    std::array<std::uint32_t, 5> m_h{};
    std::uint64_t m_bits = 0;
    unsigned char m_buffer[64]{};
    std::size_t m_used = 0;
};

// The random source of the session key: a 64-bit linear congruential generator.
class TZKRandom final
{
public:
    void Seed(std::uint32_t value) { m_state = value; }
    std::uint32_t Next();

private:
    std::uint64_t m_state = 0;
};

} // namespace riz
