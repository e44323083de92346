#include "support/dialog_fixture.h"

#include "core/card/card_address.h"
#include "core/card/card_app.h"

namespace t740::test {
namespace {

const char kDeviceType[] = "SDH t740";
const char kLocation[] = "Room 3";

}  // namespace

DialogTest::DialogTest() {
  ConnectCard(card, pause, "10.1.2.3", "0105");
  record.deviceType = kDeviceType;
  record.location = kLocation;
  card.SetDeviceRecord(&record);
  SetCurrentCard(&card);
}

DialogTest::~DialogTest() {
  SetCurrentCard(nullptr);
  // Workers still finishing their last pause pause with `pause`.
  CCardApp::Instance().Workers().JoinAll();
}

void DialogTest::SetIdentity(std::string_view ip, std::string_view cardAddress) {
  card.SetIdentity(ip, cardAddress);
}

std::string DialogTest::ReadOid(std::string_view suffix) const {
  return BuildCardOid(card.CardAddress(), Operation::Read, suffix);
}

std::string DialogTest::WriteOid(std::string_view suffix) const {
  return BuildCardOid(card.CardAddress(), Operation::Write, suffix);
}

}  // namespace t740::test
