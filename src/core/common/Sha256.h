#pragma once
// SHA-256 digests of byte strings (OpenSSL's libcrypto).

#include <string>
#include <string_view>

namespace Utils {

// Lower-case hexadecimal digest (64 characters); empty when the library fails.
std::string sha256Hex(std::string_view bytes);

// True when the digest of the bytes equals the given hexadecimal digest (either case). An
// empty or malformed expected digest never matches.
bool sha256Matches(std::string_view bytes, const std::string& expectedHex);
// The same comparison for a digest already computed (lower-case hexadecimal, or empty).
bool digestMatches(const std::string& actualHex, const std::string& expectedHex);

// Lower-case hexadecimal of a digest's bytes.
std::string hexDigest(const unsigned char* digest, unsigned int length);

} // namespace Utils
