#include "core/card/card_object.h"

#include <atomic>

#include "core/card/codecs.h"

namespace t740 {
namespace {

std::atomic<CCardObject*> currentCard{nullptr};
std::atomic<ConfigurationOpener> configurationOpener{nullptr};

}  // namespace

void SetConfigurationOpener(ConfigurationOpener opener) {
  configurationOpener = opener;
}

CCardObject* CurrentCard() {
  return currentCard.load();
}
void SetCurrentCard(CCardObject* card) {
  currentCard.store(card);
}

CCardObject::~CCardObject() {
  // Nothing may follow the global pointer to a released card.
  CCardObject* self = this;
  currentCard.compare_exchange_strong(self, nullptr);
}

void CCardObject::SetIdentity(std::string_view ip, std::string_view cardAddress) {
  ip_ = std::string(ip);
  cardAddress_ = std::string(cardAddress);
}

void CCardObject::OpenConfiguration(QWidget* parent, CText ip, CText cardAddress,
                                    HostDeviceRecord* record) {
  record_ = record;
  SetIdentity(ip.view(), cardAddress.view());
  // The window works on the newest card object, which is this one unless the
  // host created another since; it is handed down to every page from here.
  CCardObject* current = CurrentCard();
  if (ConfigurationOpener opener = configurationOpener.load()) {
    opener(parent, current ? *current : *this);
  }
}

void CCardObject::Release() {
  delete this;
}

std::string CCardObject::HexToBits(std::string_view hex) const {
  return t740::HexToBits(hex);
}
std::string CCardObject::BitsToHex(std::string_view bits) const {
  return t740::BitsToHex(bits);
}
std::string CCardObject::DecToHex(std::string_view decimal) const {
  return t740::DecToHex(decimal);
}
std::string CCardObject::BitsToDec(std::string_view bits) const {
  return t740::BitsToDec(bits);
}

}  // namespace t740
