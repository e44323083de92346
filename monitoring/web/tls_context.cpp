#include "monitoring/web/tls_context.h"

#include <openssl/err.h>

#include "monitoring/config/access_config.h"

namespace t740::monitoring {
namespace {

bool Configure(SSL_CTX* context, const std::string& certFile, const std::string& keyFile) {
  SSL_CTX_set_options(context, SSL_OP_NO_COMPRESSION | SSL_OP_NO_RENEGOTIATION);
  return SSL_CTX_set_min_proto_version(context, TLS1_2_VERSION) == 1 &&
         SSL_CTX_use_certificate_chain_file(context, certFile.c_str()) == 1 &&
         SSL_CTX_use_PrivateKey_file(context, keyFile.c_str(), SSL_FILETYPE_PEM) == 1 &&
         SSL_CTX_check_private_key(context) == 1;
}

}  // namespace

TlsContext::TlsContext(const std::string& certFile, const std::string& keyFile)
    : context_(SSL_CTX_new(TLS_server_method())) {
  if (context_ && Configure(context_, certFile, keyFile)) return;
  ERR_clear_error();
  SSL_CTX_free(context_);
  throw ConfigError("tls_server_config: cannot load the certificate " + certFile +
                    " with the key " + keyFile);
}

TlsContext::~TlsContext() {
  SSL_CTX_free(context_);
}

}  // namespace t740::monitoring
