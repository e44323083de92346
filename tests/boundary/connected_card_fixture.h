// A card object whose requests go to a recording host, whose pauses are
// recorded and whose messages are caught: for the tests of the logic that
// talks to the card through the request frame.
#ifndef T740_TESTS_BOUNDARY_CONNECTED_CARD_FIXTURE_H
#define T740_TESTS_BOUNDARY_CONNECTED_CARD_FIXTURE_H

#include <gtest/gtest.h>

#include <string_view>

#include "core/card/card_object.h"
#include "support/recording_card.h"

namespace t740::test {

class ConnectedCardTest : public ::testing::Test {
 protected:
  ConnectedCardTest(std::string_view ip, std::string_view cardAddress) {
    ConnectCard(card, pause, ip, cardAddress);
  }

  RecordingCard fake;
  RecordingPause pause;
  RecordingMessages messages;
  CCardObject card;
};

}  // namespace t740::test

#endif
