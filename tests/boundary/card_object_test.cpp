#include "core/card/card_object.h"

#include <gtest/gtest.h>

namespace t740 {
namespace {

TEST(CardObject, StartsEmptyAndKeepsItsCaches) {
  CCardObject card;
  EXPECT_EQ(card.DeviceRecord(), nullptr);
  EXPECT_EQ(card.Request(), nullptr);
  EXPECT_EQ(card.HostValue(), 0);
  EXPECT_TRUE(card.GetBasicInfoCache().empty());
  card.SetBasicInfoCache("a");
  card.SetLoopbackCache("b");
  card.SetSectionOverheadCache("c");
  card.SetThresholdCache("d");
  EXPECT_EQ(card.GetBasicInfoCache() + card.GetLoopbackCache() + card.GetSectionOverheadCache() +
                card.GetThresholdCache(),
            "abcd");
  card.SetHostValue(42, 7);
  EXPECT_EQ(card.HostValue(), 42);
}

TEST(CardObject, OpenConfigurationStoresRecordAndIdentity) {
  CCardObject card;
  HostDeviceRecord record{};
  card.OpenConfiguration(nullptr, "10.0.0.5", "0105", &record);
  EXPECT_EQ(card.DeviceRecord(), &record);
  EXPECT_EQ(card.IpAddress(), "10.0.0.5");
  EXPECT_EQ(card.CardAddress(), "0105");
  card.OpenConfiguration(nullptr, "10.0.0.6", "107", &record);
  EXPECT_EQ(card.CardAddress(), "107");
}

TEST(CardObject, ReleasingTheCurrentCardClearsTheGlobalPointer) {
  auto* older = new CCardObject();
  auto* newer = new CCardObject();
  SetCurrentCard(older);
  SetCurrentCard(newer);
  older->Release();
  EXPECT_EQ(CurrentCard(), newer);
  newer->Release();
  EXPECT_EQ(CurrentCard(), nullptr);
}

}  // namespace
}  // namespace t740
