// riz-keygen: makes the service's key pair and marker.
//
//   riz-keygen --key FILE [--client-config FILE.cpp]
//
// FILE receives the private key (modulus, public and private exponent, marker) for
// riz-service; FILE.cpp the public half as the source the client compiles in. The modulus is
// odd with exactly 1023 bits, the public exponent a 12-bit prime.
#include <gmp.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <string>

namespace {

std::string Hex(const mpz_t v, int digits)
{
    char* s = mpz_get_str(nullptr, 16, v);
    std::string out(s);
    free(s);
    if (static_cast<int>(out.size()) < digits)
        out.insert(0, static_cast<size_t>(digits) - out.size(), '0');
    return "0x" + out;
}

void RandomPrime(mpz_t p, gmp_randstate_t rs, unsigned bits, bool topTwo)
{
    mpz_urandomb(p, rs, bits);
    mpz_setbit(p, bits - 1);
    if (topTwo)
        mpz_setbit(p, bits - 2);
    mpz_nextprime(p, p);
}

} // namespace

int main(int argc, char** argv)
{
    std::string keyPath, configPath;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--key") && i + 1 < argc)
            keyPath = argv[++i];
        else if (!std::strcmp(argv[i], "--client-config") && i + 1 < argc)
            configPath = argv[++i];
        else {
            std::fprintf(stderr, "usage: riz-keygen --key FILE [--client-config FILE.cpp]\n");
            return 2;
        }
    }
    if (keyPath.empty()) {
        std::fprintf(stderr, "usage: riz-keygen --key FILE [--client-config FILE.cpp]\n");
        return 2;
    }

    std::random_device dev;
    gmp_randstate_t rs;
    gmp_randinit_mt(rs);
    mpz_t seed;
    mpz_init(seed);
    for (int i = 0; i < 8; ++i) {
        mpz_mul_2exp(seed, seed, 32);
        mpz_add_ui(seed, seed, dev());
    }
    gmp_randseed(rs, seed);

    mpz_t p, q, n, phi, e, d, g, p1, q1;
    mpz_inits(p, q, n, phi, e, d, g, p1, q1, nullptr);
    for (;;) {
        // p in [1.5 * 2^511, 2^512) and q in [2^510, 2^511) give n below 2^1023 and, but for
        // rare carries of nextprime, at least 2^1022: 1023 bits.
        RandomPrime(p, rs, 512, true);
        RandomPrime(q, rs, 511, false);
        mpz_mul(n, p, q);
        if (mpz_sizeinbase(n, 2) != 1023 || mpz_cmp(p, q) == 0)
            continue;
        mpz_sub_ui(p1, p, 1);
        mpz_sub_ui(q1, q, 1);
        mpz_mul(phi, p1, q1);
        bool found = false;
        for (unsigned long cand = 0x801 + 2 * (dev() % 1000); cand < 0x1000; cand += 2) {
            mpz_set_ui(e, cand);
            if (mpz_probab_prime_p(e, 30) == 0)
                continue;
            mpz_gcd(g, e, phi);
            if (mpz_cmp_ui(g, 1) == 0) {
                found = true;
                break;
            }
        }
        if (found && mpz_invert(d, e, phi) != 0)
            break;
    }

    static const char kChars[] = "ABCDEFGHJKLMNPQRSTUVWXYZ23456789";
    std::string marker;
    for (int i = 0; i < 6; ++i)
        marker += kChars[dev() % (sizeof kChars - 1)];
    marker += ' ';

    std::ofstream key(keyPath, std::ios::trunc);
    key << "# RIZ Avivaze service key: the private half of the request envelope.\n"
           "# Keep it secret. Every deployment makes its own with riz-keygen.\n"
        << "modulus=" << Hex(n, 256) << "\n"
        << "public_exponent=" << Hex(e, 3) << "\n"
        << "private_exponent=" << Hex(d, 256) << "\n"
        << "marker=\"" << marker << "\"\n";
    if (!key) {
        std::fprintf(stderr, "cannot write %s\n", keyPath.c_str());
        return 1;
    }
    if (!configPath.empty()) {
        std::ofstream cfg(configPath, std::ios::trunc);
        cfg << "// Written by riz-keygen: the service's public key and marker, compiled into the\n"
               "// client. The private half is the service's key file.\n"
               "#include \"protocol/servicekey.h\"\n\n"
               "namespace riz {\n"
            << "const char* const kServicePublicExponent = \"" << Hex(e, 3) << "\";\n"
            << "const char* const kServiceModulus =\n    \"" << Hex(n, 256) << "\";\n"
            << "const char* const kServiceMarker = \"" << marker << "\";\n"
            << "} // namespace riz\n";
        if (!cfg) {
            std::fprintf(stderr, "cannot write %s\n", configPath.c_str());
            return 1;
        }
    }
    std::printf("key written to %s (modulus %zu bits, exponent 0x%s)\n", keyPath.c_str(),
                mpz_sizeinbase(n, 2), Hex(e, 3).c_str() + 2);
    mpz_clears(p, q, n, phi, e, d, g, p1, q1, seed, nullptr);
    gmp_randclear(rs);
    return 0;
}
