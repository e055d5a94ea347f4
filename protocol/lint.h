#pragma once

#include <cstdint>
#include <gmp.h>
#include <string>

namespace riz {

// Unsigned integer of up to 4096 bits for the public-key step of the request envelope.
// A value object over GMP. Misuse (an uninitialised argument, an overflow of the 4096 bits,
// a division by zero, an even modulus, an invalid base) ends the program with a report on
// the standard error stream.
class LINT final
{
public:
    static constexpr int kMaxBits = 4096;

    LINT();                          // uninitialised until assigned
    explicit LINT(const std::string& text); // "0x..." hex, "0b..." binary, otherwise decimal
    explicit LINT(const char* text);
    LINT(std::uint32_t value);       // NOLINT: implicit like a number literal
    LINT(int value);                 // its absolute value
    LINT(const LINT& other);
    LINT(LINT&& other) noexcept;
    LINT& operator=(const LINT& other);
    LINT& operator=(LINT&& other) noexcept;
    ~LINT();

    LINT operator<<(unsigned n) const;
    LINT operator>>(unsigned n) const;
    LINT operator+(const LINT& other) const;
    LINT operator&(const LINT& other) const;
    bool operator!=(const LINT& other) const;
    bool operator==(const LINT& other) const { return !(*this != other); }
    bool operator<(const LINT& other) const;

    // The value as a 32-bit word; the value must be below 2^32.
    std::uint32_t ToUInt32() const;
    // x := x^e mod m; m must be odd.
    LINT& mexp(const LINT& e, const LINT& m);

    bool IsInitialised() const { return m_init; }
    unsigned BitLength() const;
    std::string ToHex() const; // lower-case hexadecimal without prefix

private:
    void CheckInit(int argument, const char* op, int line) const;
    void CheckOverflow(const char* op, int line) const;

    mpz_t m_value;
    bool m_init = false;
};

} // namespace riz
