// The card object that the host creates and drives, and the global pointer
// through which the configuration window reaches the newest one.
#ifndef T740_CORE_CARD_CARD_OBJECT_H
#define T740_CORE_CARD_CARD_OBJECT_H

#include <string>
#include <string_view>

#include "core/card/pause.h"
#include "t740/abi.h"

namespace t740 {

class CCardObject;

// Shows the configuration window for the card; installed by the window's
// module so that the card object itself needs no user interface.
using ConfigurationOpener = void (*)(QWidget* parent, CCardObject& card);
void SetConfigurationOpener(ConfigurationOpener opener);

class CCardObject : public CCardBase {
 public:
  CCardObject() = default;
  ~CCardObject() override;

  void OpenConfiguration(QWidget* parent, CText ip, CText cardAddress,
                         HostDeviceRecord* record) override;
  void Release() override;
  void SetRequestFunction(RequestFunction f) override { request_ = f; }
  void SetHostValue(int32_t value, int32_t) override { hostValue_ = value; }

  const std::string& IpAddress() const { return ip_; }
  const std::string& CardAddress() const { return cardAddress_; }
  void SetIdentity(std::string_view ip, std::string_view cardAddress);
  HostDeviceRecord* DeviceRecord() const { return record_; }
  void SetDeviceRecord(HostDeviceRecord* record) { record_ = record; }
  RequestFunction Request() const { return request_; }
  int32_t HostValue() const { return hostValue_; }

  void SetBasicInfoCache(std::string text) { basicInfoCache_ = std::move(text); }
  void SetLoopbackCache(std::string text) { loopbackCache_ = std::move(text); }
  void SetSectionOverheadCache(std::string text) { sectionOverheadCache_ = std::move(text); }
  void SetThresholdCache(std::string text) { thresholdCache_ = std::move(text); }
  std::string GetBasicInfoCache() const { return basicInfoCache_; }
  std::string GetLoopbackCache() const { return loopbackCache_; }
  std::string GetSectionOverheadCache() const { return sectionOverheadCache_; }
  std::string GetThresholdCache() const { return thresholdCache_; }

  std::string HexToBits(std::string_view hex) const;
  std::string BitsToHex(std::string_view bits) const;
  std::string DecToHex(std::string_view decimal) const;
  std::string BitsToDec(std::string_view bits) const;

  Pause& Pauses() const { return *pause_; }
  // The pause must outlive the workers that finish their last pause on it
  // (CCardApp's Workers().JoinAll() waits for them).
  void SetPause(Pause& pause) { pause_ = &pause; }

 private:
  std::string ip_;
  std::string cardAddress_;
  HostDeviceRecord* record_ = nullptr;
  int32_t hostValue_ = 0;
  RequestFunction request_ = nullptr;
  std::string basicInfoCache_;
  std::string loopbackCache_;
  std::string sectionOverheadCache_;
  std::string thresholdCache_;
  Pause* pause_ = &RealPause();
};

// The most recently created card object, or null once it was released.
CCardObject* CurrentCard();
void SetCurrentCard(CCardObject* card);

}  // namespace t740

#endif
