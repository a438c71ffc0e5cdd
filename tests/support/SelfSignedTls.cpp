#include "SelfSignedTls.h"

#include <openssl/rsa.h>

namespace pb::test {

SelfSignedTls makeSelfSignedTls() {
    SelfSignedTls tls;
    tls.key.reset(EVP_RSA_gen(2048));
    tls.certificate.reset(X509_new());
    X509* cert = tls.certificate.get();
    ASN1_INTEGER_set(X509_get_serialNumber(cert), 1);
    X509_gmtime_adj(X509_getm_notBefore(cert), 0);
    X509_gmtime_adj(X509_getm_notAfter(cert), 3600);
    X509_set_pubkey(cert, tls.key.get());
    X509_NAME* name = X509_get_subject_name(cert);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>("localhost"), -1, -1, 0);
    X509_set_issuer_name(cert, name);
    X509_sign(cert, tls.key.get(), EVP_sha256());
    return tls;
}

} // namespace pb::test
