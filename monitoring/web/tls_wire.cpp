#include "monitoring/web/tls_wire.h"

#include <fcntl.h>
#include <openssl/err.h>
#include <poll.h>

#include <climits>

namespace t740::monitoring {
namespace {

int Clamp(size_t size) {
  return size > INT_MAX ? INT_MAX : static_cast<int>(size);
}

}  // namespace

std::unique_ptr<TlsWire> TlsWire::Accept(SSL_CTX* context, int socket, Clock::time_point deadline) {
  const int flags = fcntl(socket, F_GETFL);
  if (flags < 0 || fcntl(socket, F_SETFL, flags | O_NONBLOCK) < 0) return nullptr;
  SSL* ssl = SSL_new(context);
  if (!ssl) return nullptr;
  std::unique_ptr<TlsWire> wire(new TlsWire(socket, ssl));
  if (SSL_set_fd(ssl, socket) != 1) return nullptr;
  for (;;) {
    const Transfer step = wire->Outcome(SSL_accept(ssl));
    if (step.bytes > 0) return wire;
    if (!step.waitFor || !wire->Await(step.waitFor, deadline)) return nullptr;
  }
}

TlsWire::~TlsWire() {
  if (SSL_is_init_finished(ssl_)) SSL_shutdown(ssl_);
  SSL_free(ssl_);
}

Transfer TlsWire::Outcome(int result) const {
  if (result > 0) return {result, 0};
  switch (SSL_get_error(ssl_, result)) {
    case SSL_ERROR_WANT_READ:
      return {-1, POLLIN};
    case SSL_ERROR_WANT_WRITE:
      return {-1, POLLOUT};
    case SSL_ERROR_ZERO_RETURN:
      return {0, 0};
    default:
      // Errors stay on the connection that made them.
      ERR_clear_error();
      return {-1, 0};
  }
}

Transfer TlsWire::Receive(char* bytes, size_t size) {
  return Outcome(SSL_read(ssl_, bytes, Clamp(size)));
}

// A retry after a wait asks the same bytes again, as OpenSSL requires.
Transfer TlsWire::Send(const char* bytes, size_t size) {
  return Outcome(SSL_write(ssl_, bytes, Clamp(size)));
}

bool TlsWire::Holding() const {
  return SSL_pending(ssl_) > 0;
}

}  // namespace t740::monitoring
