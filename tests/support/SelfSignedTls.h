// A throw-away self-signed certificate for local HTTPS servers in tests.
#pragma once

#include <openssl/evp.h>
#include <openssl/x509.h>

#include <memory>

namespace pb::test {

struct SelfSignedTls {
    std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> key{nullptr, EVP_PKEY_free};
    std::unique_ptr<X509, decltype(&X509_free)> certificate{nullptr, X509_free};
};

SelfSignedTls makeSelfSignedTls();

} // namespace pb::test
