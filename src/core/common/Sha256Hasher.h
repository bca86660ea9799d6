#pragma once
// A SHA-256 digest of bytes that arrive piece by piece (a download hashed while it is written).

#include "core/common/NonCopyable.h"
#include <memory>
#include <string>
#include <string_view>

typedef struct evp_md_ctx_st EVP_MD_CTX;

namespace Utils {

class Sha256Hasher : private NonCopyable {
public:
    Sha256Hasher();
    ~Sha256Hasher();

    void update(std::string_view bytes);
    // Lower-case hexadecimal digest of everything given; empty when the library failed. Ends
    // the hashing: later updates are ignored.
    std::string finishHex();

private:
    struct ContextFree {
        void operator()(EVP_MD_CTX* context) const;
    };
    std::unique_ptr<EVP_MD_CTX, ContextFree> m_context;
    bool m_failed = false;
};

} // namespace Utils
