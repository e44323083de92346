// The common set-up of a dialog test: the plug-in's resources and
// translator current (as during every modal call of the plug-in), a card
// object that is the current card, answered by a recording fake host,
// pausing through a recorder instead of sleeping, and a scripted operator.
#ifndef T740_TESTS_SUPPORT_DIALOG_FIXTURE_H
#define T740_TESTS_SUPPORT_DIALOG_FIXTURE_H

#include <gtest/gtest.h>

#include "core/card/card_object.h"
#include "support/operator.h"
#include "support/recording_card.h"
#include "widgets/resource_scope.h"

namespace t740::test {

class DialogTest : public ::testing::Test {
 protected:
  DialogTest();
  ~DialogTest() override;

  // Card address "0105" (fields 01 and 05) at 10.1.2.3 unless changed.
  void SetIdentity(std::string_view ip, std::string_view cardAddress);
  // The read identifier of a group for the current card address.
  std::string ReadOid(std::string_view suffix) const;
  std::string WriteOid(std::string_view suffix) const;

  ResourceScope resources;
  RecordingCard host;
  RecordingPause pause;
  CCardObject card;
  HostDeviceRecord record{};
  Operator op;
};

}  // namespace t740::test

#endif
