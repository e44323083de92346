#include "hosting/plugin/plugin_session.h"

#include "hosting/errors/host_error.h"
#include "hosting/plugin/host_request.h"

namespace t740::host {
namespace {

// The host's own number for the card; the plug-in keeps it unread.
constexpr int32_t kHostValue = 1;

constexpr char kDeviceType[] = "t740 SDH\xCF\xDF\xC2\xB7\xBF\xA8" /* t740 SDH线路卡 */;
constexpr char kLocation[] = "\xD6\xD0\xD0\xC4\xBB\xFA\xB7\xBF" /* 中心机房 */;

}  // namespace

PluginSession::PluginSession(const PluginLibrary& library) : library_(library) {
  Exports().createObject(0, &card_);
  if (!card_) throw HostError("the plug-in " + library.Path() + " created no card object");
  card_->SetRequestFunction(HostRequestFunction());
  card_->SetHostValue(kHostValue, 0);
  record_.deviceType = kDeviceType;
  record_.location = kLocation;
}

PluginSession::~PluginSession() {
  card_->Release();
}

}  // namespace t740::host
