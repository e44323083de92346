// The agent's view of the simulated card: which names exist, in which
// order GETNEXT walks them, and how a SET is checked, applied and undone.
#include "sim/agent/card_objects.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "sim/default_card.h"

namespace t740::sim {
namespace {

const Arcs kSubtree = {1, 3, 6, 1, 4, 1, 47291, 2, 1, 1};

Arcs Name(std::initializer_list<uint32_t> tail) {
  Arcs name = kSubtree;
  name.insert(name.end(), tail);
  return name;
}

// Card 0107: address arcs 1 and 7.
Arcs ReadName(uint32_t group) {
  return Name({85, 1, 1, 7, group});
}
Arcs WriteName(uint32_t group) {
  return Name({85, 2, 1, 7, group});
}

std::string Octets(std::string_view hex) {
  std::string octets;
  for (size_t i = 0; i < hex.size(); i += 2) {
    octets += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
  }
  return octets;
}

class CardObjectsTest : public ::testing::Test {
 protected:
  CardObjectsTest()
      : card(
            DefaultIdentity(), DefaultCardState(), [] { return 1'700'000'100; },
            kDefaultUptimeSeconds),
        objects(card) {}

  // The card's own answer to a read, as the request function gives it.
  std::string Record(const char* suffix) {
    CText response;
    card.Request(0, CText(kDefaultIp),
                 CText(std::string("1.3.6.1.4.1.47291.2.1.1.85.1.01.07") + suffix), CText("1"),
                 CText(), &response);
    return std::string(response.view());
  }
  // Everything a host can read, to tell whether a SET changed anything.
  std::vector<std::string> Everything() {
    std::vector<std::string> values;
    for (const Arcs& name : objects.ReadableNames()) values.push_back(*objects.Get(name));
    return values;
  }

  SimulatedCard card;
  CardObjects objects;
};

TEST_F(CardObjectsTest, GroupsAreTheOctetsOfTheCardsRecordsAndStatusTextsTheirCharacters) {
  EXPECT_EQ(objects.Get(ReadName(11)), Octets(Record(".11")));
  EXPECT_EQ(objects.Get(ReadName(11)), Octets("01000084"));
  for (uint32_t group : {1, 12, 13, 51}) {
    EXPECT_EQ(objects.Get(ReadName(group)), Octets(Record(("." + std::to_string(group)).c_str())))
        << group;
  }
  EXPECT_EQ(objects.Get(Name({86, 1, 7, 1})),
            card.FetchStatus(StatusKind::Alarm, kDefaultIp, kDefaultCardAddress));
  EXPECT_EQ(objects.Get(Name({86, 1, 7, 2})),
            card.FetchStatus(StatusKind::Led, kDefaultIp, kDefaultCardAddress));
  EXPECT_EQ(objects.Get(Name({86, 1, 7, 3})),
            card.FetchStatus(StatusKind::Performance, kDefaultIp, kDefaultCardAddress));
}

TEST_F(CardObjectsTest, NamesOutsideTheCardsObjectsHaveNoValue) {
  const Arcs kMissing[] = {
      kSubtree,
      Name({85, 1, 1, 7}),
      ReadName(14),
      ReadName(50),             // the clear command is write only
      WriteName(11),            // writes are SET only
      Name({85, 1, 1, 8, 11}),  // another card
      Name({85, 1, 2, 7, 11}),
      Name({85, 3, 1, 7, 11}),
      Name({85, 1, 1, 7, 11, 0}),
      Name({86, 1, 7, 4}),
      Name({86, 1, 7}),
      {1, 3, 6, 1, 4, 1, 47291, 2, 1, 2, 85, 1, 1, 7, 11},
  };
  for (const Arcs& name : kMissing) EXPECT_FALSE(objects.Get(name)) << name.size();
}

TEST_F(CardObjectsTest, GetNextWalksEveryReadableObjectInIdentifierOrder) {
  const std::vector<Arcs> expected = {ReadName(1),         ReadName(11),       ReadName(12),
                                      ReadName(13),        ReadName(51),       Name({86, 1, 7, 1}),
                                      Name({86, 1, 7, 2}), Name({86, 1, 7, 3})};
  std::vector<Arcs> walked;
  Arcs name = {1, 3, 6};
  while (auto next = objects.Next(name)) {
    ASSERT_LT(walked.size(), expected.size()) << "the walk does not end";
    EXPECT_EQ(next->second, objects.Get(next->first));
    walked.push_back(next->first);
    name = next->first;
  }
  EXPECT_EQ(walked, expected);
  EXPECT_EQ(objects.ReadableNames(), expected);

  // From names between objects, or beside them, to the one that follows.
  EXPECT_EQ(objects.Next(ReadName(11))->first, ReadName(12));
  EXPECT_EQ(objects.Next(Name({85, 1, 1, 7, 11, 4}))->first, ReadName(12));
  EXPECT_EQ(objects.Next(Name({85, 1, 1, 7, 52}))->first, Name({86, 1, 7, 1}));
  EXPECT_EQ(objects.Next(WriteName(11))->first, Name({86, 1, 7, 1}));
  EXPECT_EQ(objects.Next(Name({85, 1, 1}))->first, ReadName(1));
  EXPECT_FALSE(objects.Next(Name({86, 1, 7, 3})));
  EXPECT_FALSE(objects.Next({2}));
}

TEST_F(CardObjectsTest, ChecksTypeNameLengthAndSetHeadWithoutChangingTheCard) {
  const std::vector<std::string> before = Everything();
  const std::string loopback = Octets("01000005");
  EXPECT_EQ(objects.Check(WriteName(11), true, loopback), SetStatus::Ok);
  EXPECT_EQ(objects.Check(WriteName(11), false, loopback), SetStatus::WrongType);
  EXPECT_EQ(objects.Check(ReadName(11), true, loopback), SetStatus::NotWritable);
  EXPECT_EQ(objects.Check(Name({86, 1, 7, 1}), true, loopback), SetStatus::NotWritable);
  EXPECT_EQ(objects.Check(WriteName(1), true, loopback), SetStatus::NoCreation);
  EXPECT_EQ(objects.Check(Name({85, 2, 1, 8, 11}), true, loopback), SetStatus::NoCreation);
  EXPECT_EQ(objects.Check(WriteName(11), true, Octets("0100000500")), SetStatus::WrongLength);
  EXPECT_EQ(objects.Check(WriteName(11), true, Octets("010000")), SetStatus::WrongLength);
  EXPECT_EQ(objects.Check(WriteName(11), true, Octets("02000005")), SetStatus::WrongValue);
  EXPECT_EQ(objects.Check(WriteName(50), true, Octets("000000")), SetStatus::Ok);
  EXPECT_EQ(objects.Check(WriteName(50), true, Octets("00000000")), SetStatus::WrongLength);
  // Path overhead: select a channel (mode 00), and a port that does not exist.
  EXPECT_EQ(objects.Check(WriteName(13), true, Octets("3C0000000102")), SetStatus::Ok);
  EXPECT_EQ(objects.Check(WriteName(13), true, Octets("3C0000000902")), SetStatus::WrongValue);
  EXPECT_EQ(objects.Check(WriteName(13), true, Octets("3C0000070102")), SetStatus::WrongValue);
  EXPECT_EQ(Everything(), before);
}

TEST_F(CardObjectsTest, ApplyChangesTheCardCommitKeepsItUndoPutsBackAllOfTheRequest) {
  const std::vector<std::string> before = Everything();
  const std::string thresholds = Octets("D80000" + std::string(432, '1'));
  ASSERT_EQ(objects.Apply(WriteName(11), Octets("01000005")), SetStatus::Ok);
  ASSERT_EQ(objects.Apply(WriteName(51), thresholds), SetStatus::Ok);
  ASSERT_EQ(objects.Apply(WriteName(13), Octets("3C0000000302")), SetStatus::Ok);
  EXPECT_EQ(card.Snapshot().loopback, 0x05);
  EXPECT_EQ(card.Snapshot().thresholds[0], 0x1111);
  objects.Undo();
  EXPECT_EQ(Everything(), before);
  objects.Undo();  // the agent undoes each object of the request
  EXPECT_EQ(Everything(), before);

  ASSERT_EQ(objects.Apply(WriteName(11), Octets("01000005")), SetStatus::Ok);
  objects.Commit();
  objects.Undo();  // a later request's failure does not reach back
  EXPECT_EQ(card.Snapshot().loopback, 0x05);
}

TEST_F(CardObjectsTest, AnUndoneClearGivesTheCountersBack) {
  const auto performance = objects.Get(Name({86, 1, 7, 3}));
  ASSERT_EQ(objects.Apply(WriteName(50), Octets("000000")), SetStatus::Ok);
  EXPECT_NE(objects.Get(Name({86, 1, 7, 3})), performance);
  objects.Undo();
  EXPECT_EQ(objects.Get(Name({86, 1, 7, 3})), performance);
}

TEST_F(CardObjectsTest, ARecordTheCardRefusesInTheActionFails) {
  EXPECT_EQ(objects.Apply(WriteName(11), Octets("02000005")), SetStatus::CommitFailed);
  EXPECT_EQ(objects.Apply(ReadName(11), Octets("01000005")), SetStatus::NoCreation);
  objects.Undo();
  EXPECT_EQ(card.Snapshot().loopback, 0x84);
}

TEST(CardObjectsAddressTest, AddressFieldsAreDecimalArcs) {
  // "13" is known as 01 and 3 on the network, the same arcs as "0103".
  SimulatedCard card({kDefaultIp, "13"}, DefaultCardState());
  CardObjects objects(card);
  EXPECT_TRUE(objects.Get(Name({85, 1, 1, 3, 11})));
  EXPECT_EQ(objects.ReadableNames().front(), Name({85, 1, 1, 3, 1}));

  SimulatedCard single({kDefaultIp, "7"}, DefaultCardState());
  EXPECT_THROW(CardObjects{single}, std::invalid_argument);
}

}  // namespace
}  // namespace t740::sim
