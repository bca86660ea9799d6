#include "core/common/Sha256Hasher.h"

#include "core/common/Sha256.h"

#include <openssl/evp.h>

namespace Utils {

void Sha256Hasher::ContextFree::operator()(EVP_MD_CTX* context) const
{
    EVP_MD_CTX_free(context);
}

Sha256Hasher::Sha256Hasher() : m_context(EVP_MD_CTX_new())
{
    m_failed = !m_context || EVP_DigestInit_ex(m_context.get(), EVP_sha256(), nullptr) != 1;
}

Sha256Hasher::~Sha256Hasher() = default;

void Sha256Hasher::update(std::string_view bytes)
{
    if (!m_failed && m_context && EVP_DigestUpdate(m_context.get(), bytes.data(), bytes.size()) != 1)
        m_failed = true;
}

std::string Sha256Hasher::finishHex()
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    const bool done = !m_failed && m_context && EVP_DigestFinal_ex(m_context.get(), digest, &length) == 1;
    m_context.reset();
    if (!done)
        return {};
    return hexDigest(digest, length);
}

} // namespace Utils
