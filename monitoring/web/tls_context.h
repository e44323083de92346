// The exporter's TLS settings: its certificate and key, TLS 1.2 at least
// (as the exporter toolkit's default), no compression, no renegotiation.
#ifndef T740_MONITORING_WEB_TLS_CONTEXT_H
#define T740_MONITORING_WEB_TLS_CONTEXT_H

#include <openssl/ssl.h>

#include <string>

namespace t740::monitoring {

class TlsContext {
 public:
  // Throws ConfigError naming the files when they do not load or the key
  // is not the certificate's.
  TlsContext(const std::string& certFile, const std::string& keyFile);
  ~TlsContext();
  TlsContext(const TlsContext&) = delete;
  TlsContext& operator=(const TlsContext&) = delete;

  SSL_CTX* Get() const { return context_; }

 private:
  SSL_CTX* context_;
};

}  // namespace t740::monitoring

#endif
