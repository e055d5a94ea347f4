#include "protocol/lint.h"

#include <cstdio>
#include <cstdlib>

namespace riz {
namespace {

enum class Fault { FileIo, DivByZero, New, Overflow, Underflow, Base, EvenModulus, Other };

[[noreturn]] void Panic(Fault fault, const char* op, int line)
{
    const char* text = "Unbekannter Fehler, Operator/Funktion ";
    switch (fault) {
    case Fault::FileIo: text = "Fehler bei Datei-IO, Operator/Funktion "; break;
    case Fault::DivByZero: text = "Division durch Null, Operator/Funktion "; break;
    case Fault::New: text = "Fehler bei new, Function/Operator "; break;
    case Fault::Overflow: text = "Ueberlauf, Operator/Funktion "; break;
    case Fault::Underflow: text = "Unterlauf, Operator/Funktion "; break;
    case Fault::Base: text = "Ungueltige Basis, Operator/Funktion "; break;
    case Fault::EvenModulus: text = "Modulus nicht ungerade, Operator/Funktion "; break;
    case Fault::Other: break;
    }
    std::fprintf(stderr, "Kritischer Laufzeitfehler durch Klasse LINT entdeckt:\n%s%s, Zeile %d\n",
                 text, op, line);
    std::exit(EXIT_FAILURE);
}

} // namespace

LINT::LINT()
{
    mpz_init(m_value);
}

LINT::LINT(const std::string& text) : LINT(text.c_str()) {}

LINT::LINT(const char* text)
{
    mpz_init(m_value);
    int base = 10;
    const char* digits = text;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        digits = text + 2;
    } else if (text[0] == '0' && (text[1] == 'b' || text[1] == 'B')) {
        base = 2;
        digits = text + 2;
    }
    if (*digits == '\0' || mpz_set_str(m_value, digits, base) != 0 || mpz_sgn(m_value) < 0)
        Panic(Fault::Base, "LINT(const char*)", __LINE__);
    m_init = true;
    CheckOverflow("LINT(const char*)", __LINE__);
}

LINT::LINT(std::uint32_t value)
{
    mpz_init_set_ui(m_value, value);
    m_init = true;
}

LINT::LINT(int value)
{
    const long long v = value;
    mpz_init_set_ui(m_value, static_cast<unsigned long>(v < 0 ? -v : v));
    m_init = true;
}

LINT::LINT(const LINT& other)
{
    mpz_init_set(m_value, other.m_value);
    m_init = other.m_init;
}

LINT::LINT(LINT&& other) noexcept
{
    mpz_init(m_value);
    mpz_swap(m_value, other.m_value);
    m_init = other.m_init;
}

LINT& LINT::operator=(const LINT& other)
{
    other.CheckInit(1, "=", __LINE__);
    mpz_set(m_value, other.m_value);
    m_init = true;
    return *this;
}

LINT& LINT::operator=(LINT&& other) noexcept
{
    mpz_swap(m_value, other.m_value);
    m_init = other.m_init;
    return *this;
}

LINT::~LINT()
{
    mpz_clear(m_value);
}

void LINT::CheckInit(int argument, const char* op, int line) const
{
    if (!m_init) {
        std::fprintf(stderr,
                     "Kritischer Laufzeitfehler durch Klasse LINT entdeckt:\nArgument %d in "
                     "Operator/Funktion %s nicht initialisiert, Zeile %d\n",
                     argument, op, line);
        std::exit(EXIT_FAILURE);
    }
}

void LINT::CheckOverflow(const char* op, int line) const
{
    if (mpz_sizeinbase(m_value, 2) > static_cast<size_t>(kMaxBits))
        Panic(Fault::Overflow, op, line);
}

LINT LINT::operator<<(unsigned n) const
{
    CheckInit(1, "<<", __LINE__);
    if (n > static_cast<unsigned>(kMaxBits) && mpz_sgn(m_value) != 0)
        Panic(Fault::Overflow, "<<", __LINE__);
    LINT r;
    mpz_mul_2exp(r.m_value, m_value, n);
    r.m_init = true;
    r.CheckOverflow("<<", __LINE__);
    return r;
}

LINT LINT::operator>>(unsigned n) const
{
    CheckInit(1, ">>", __LINE__);
    LINT r;
    mpz_fdiv_q_2exp(r.m_value, m_value, n);
    r.m_init = true;
    return r;
}

LINT LINT::operator+(const LINT& other) const
{
    CheckInit(1, "+", __LINE__);
    other.CheckInit(2, "+", __LINE__);
    LINT r;
    mpz_add(r.m_value, m_value, other.m_value);
    r.m_init = true;
    r.CheckOverflow("+", __LINE__);
    return r;
}

LINT LINT::operator&(const LINT& other) const
{
    CheckInit(1, "&", __LINE__);
    other.CheckInit(2, "&", __LINE__);
    LINT r;
    mpz_and(r.m_value, m_value, other.m_value);
    r.m_init = true;
    return r;
}

bool LINT::operator!=(const LINT& other) const
{
    CheckInit(1, "!=", __LINE__);
    other.CheckInit(2, "!=", __LINE__);
    return mpz_cmp(m_value, other.m_value) != 0;
}

bool LINT::operator<(const LINT& other) const
{
    CheckInit(1, "<", __LINE__);
    other.CheckInit(2, "<", __LINE__);
    return mpz_cmp(m_value, other.m_value) < 0;
}

std::uint32_t LINT::ToUInt32() const
{
    CheckInit(1, "ToUInt32", __LINE__);
    if (mpz_sizeinbase(m_value, 2) > 32)
        Panic(Fault::Overflow, "ToUInt32", __LINE__);
    return static_cast<std::uint32_t>(mpz_get_ui(m_value));
}

LINT& LINT::mexp(const LINT& e, const LINT& m)
{
    CheckInit(1, "mexp", __LINE__);
    e.CheckInit(2, "mexp", __LINE__);
    m.CheckInit(3, "mexp", __LINE__);
    if (mpz_sgn(m.m_value) == 0)
        Panic(Fault::DivByZero, "mexp", __LINE__);
    if (mpz_even_p(m.m_value))
        Panic(Fault::EvenModulus, "mexp", __LINE__);
    mpz_powm(m_value, m_value, e.m_value, m.m_value);
    return *this;
}

unsigned LINT::BitLength() const
{
    CheckInit(1, "BitLength", __LINE__);
    if (mpz_sgn(m_value) == 0)
        return 0;
    return static_cast<unsigned>(mpz_sizeinbase(m_value, 2));
}

std::string LINT::ToHex() const
{
    CheckInit(1, "ToHex", __LINE__);
    char* s = mpz_get_str(nullptr, 16, m_value);
    std::string out(s);
    void (*freefunc)(void*, size_t) = nullptr;
    mp_get_memory_functions(nullptr, nullptr, &freefunc);
    freefunc(s, out.size() + 1);
    return out;
}

} // namespace riz
