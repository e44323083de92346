// A connection's bytes through TLS, on a socket made non-blocking, so that
// the handshake and every record keep the deadlines of the plain wire.
#ifndef T740_MONITORING_WEB_TLS_WIRE_H
#define T740_MONITORING_WEB_TLS_WIRE_H

#include <openssl/ssl.h>

#include <memory>

#include "monitoring/web/wire.h"

namespace t740::monitoring {

class TlsWire : public Wire {
 public:
  // The wire once the client's handshake is done, or null when it fails or
  // is not done by `deadline`.
  static std::unique_ptr<TlsWire> Accept(SSL_CTX* context, int socket, Clock::time_point deadline);
  // Says goodbye to the client as far as it can without waiting.
  ~TlsWire() override;

  Transfer Receive(char* bytes, size_t size) override;
  Transfer Send(const char* bytes, size_t size) override;
  bool Holding() const override;

 private:
  TlsWire(int socket, SSL* ssl) : Wire(socket), ssl_(ssl) {}
  Transfer Outcome(int result) const;

  SSL* const ssl_;
};

}  // namespace t740::monitoring

#endif
