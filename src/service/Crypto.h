#pragma once
// Digests, random identifiers and password hashes (OpenSSL's libcrypto).

#include <string>
#include <string_view>

class Crypto {
public:
    // Lower-case hexadecimal SHA-256 digest of the bytes (64 characters).
    static std::string sha256Hex(std::string_view bytes);
    // 2 × byteCount lower-case hexadecimal characters from the system's random source.
    static std::string randomHex(int byteCount);
    // A string of the given number of random decimal digits.
    static std::string randomDigits(int count);
    // "pbkdf2-sha256$<iterations>$<salt hex>$<hash hex>".
    static std::string hashPassword(std::string_view password);
    static bool verifyPassword(std::string_view password, const std::string& stored);
};
