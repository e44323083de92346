// Both overhead pages against the simulated card: what a page sets is what
// the card reports on the next read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/card/request_frame.h"
#include "pages/path_overhead_page.h"
#include "pages/section_overhead_page.h"
#include "sim/default_card.h"
#include "sim/request_binding.h"
#include "sim/simulated_card.h"
#include "support/controls.h"
#include "support/dialog_fixture.h"

namespace t740::test {
namespace {

const int kDirectionTemplates[] = {1023, 1024, 1091, 1092};

class OverheadSimTest : public DialogTest {
 protected:
  OverheadSimTest() : simulated(sim::DefaultIdentity(), sim::DefaultCardState()) {
    card.SetIdentity(sim::kDefaultIp, sim::kDefaultCardAddress);
    card.SetRequestFunction(sim::BindRequestFunction(simulated));
    op.AcceptAllMessages();
  }
  ~OverheadSimTest() override { sim::UnbindRequestFunction(simulated); }

  // What the start-up poll leaves for the section overhead page.
  void PollSectionOverhead() {
    card.SetSectionOverheadCache(RequestGroupRead(card, GroupOf(GroupId::SectionOverhead)));
  }

  sim::SimulatedCard simulated;
};

TEST_F(OverheadSimTest, SectionOverheadSetIsWhatTheNextReadShows) {
  CSectionOverheadPage page{card};
  PollSectionOverhead();
  page.ReadSectionOverhead();
  page.MarkInitialLoadDone();
  ASSERT_TRUE(op.Messages().empty()) << op.Messages()[0];
  QWidget* a = Page(&page, kDirectionTemplates[0]);
  EXPECT_EQ(Text(a, 1027).size(), 32u);  // the received J0 of the polled record

  const std::string expected[] = {"0123456789abcdef0123456789abcdef", std::string(32, 'b'),
                                  std::string(32, 'c'), std::string(32, 'd')};
  for (size_t d = 0; d < 4; ++d) {
    QWidget* direction = Page(&page, kDirectionTemplates[d]);
    TypeInto(direction, 1031, expected[d]);
    TypeInto(direction, 1032, std::string(32, "1234"[d]));
    TypeInto(direction, 1033, "0" + std::to_string(d));
    TypeInto(direction, 1034, "a" + std::to_string(d));
    TypeInto(direction, 1035, "0f");
    TypeInto(direction, 1036, "cc");
  }
  page.SetSectionOverhead();
  EXPECT_EQ(op.Messages(), std::vector<std::string>{"开销设置成功"});

  // Clear the page so that only the card can bring the values back.
  for (size_t d = 0; d < 4; ++d) {
    for (int id = 1031; id <= 1036; ++id) TypeInto(Page(&page, kDirectionTemplates[d]), id, "");
  }
  page.ReadSectionOverhead();
  EXPECT_EQ(op.CountShown("1011"), 1u);
  for (size_t d = 0; d < 4; ++d) {
    QWidget* direction = Page(&page, kDirectionTemplates[d]);
    std::string upper = expected[d];
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(Text(direction, 1031), upper) << d;
    EXPECT_EQ(Text(direction, 1032), std::string(32, "1234"[d])) << d;
    EXPECT_EQ(Text(direction, 1033), "0" + std::to_string(d)) << d;
    EXPECT_EQ(Text(direction, 1034), "A" + std::to_string(d)) << d;
    EXPECT_EQ(Text(direction, 1035), "0F") << d;
    EXPECT_EQ(Text(direction, 1036), "CC") << d;
  }
  EXPECT_EQ(op.Messages().size(), 1u);
}

TEST_F(OverheadSimTest, PathOverheadSetIsWhatTheReadButtonShowsForThatChannel) {
  CPathOverheadPage page{card};
  page.ReadPathOverhead(false);
  ASSERT_TRUE(op.Messages().empty()) << op.Messages()[0];
  EXPECT_EQ(Text(&page, 1037).size(), 32u);

  SelectItem(&page, 1093, "光口C");
  SelectItem(&page, 1094, "3");
  TypeInto(&page, 1041, std::string(32, 'e'));
  TypeInto(&page, 1046, "c2");
  TypeInto(&page, 1042, "0123456789abcdef0123456789abcdef");
  TypeInto(&page, 1043, "13");
  TypeInto(&page, 1044, "0a");
  SelectItem(&page, 1095, "HP_RDI");
  TypeInto(&page, 1045, "7f");
  page.SetPathOverhead();
  EXPECT_EQ(op.Messages(), std::vector<std::string>{"高阶通道开销设置成功"});

  // Another channel first: it must not report the values just set.
  SelectItem(&page, 1093, "光口A");
  SelectItem(&page, 1094, "1");
  page.ReadPathOverhead(true);
  EXPECT_EQ(Text(&page, 1093), "光口A");
  EXPECT_EQ(Text(&page, 1094), "1");
  EXPECT_NE(Text(&page, 1042), "0123456789ABCDEF0123456789ABCDEF");

  SelectItem(&page, 1093, "光口C");
  SelectItem(&page, 1094, "3");
  page.ReadPathOverhead(true);
  EXPECT_EQ(Text(&page, 1093), "光口C");
  EXPECT_EQ(Text(&page, 1094), "3");
  EXPECT_EQ(Text(&page, 1041), std::string(32, 'E'));
  EXPECT_EQ(Text(&page, 1046), "C2");
  EXPECT_EQ(Text(&page, 1042), "0123456789ABCDEF0123456789ABCDEF");
  EXPECT_EQ(Text(&page, 1043), "13");
  EXPECT_EQ(Text(&page, 1044), "0A");
  EXPECT_EQ(Text(&page, 1095), "HP_RDI");
  EXPECT_EQ(Text(&page, 1045), "7F");
  EXPECT_EQ(op.Messages().size(), 1u);
}

TEST_F(OverheadSimTest, PathOverheadSetBeforeAnyReadKeepsEveryFieldInPlace) {
  // Without a read the received J1 and C2 are empty; the card still gets a
  // complete record and stores the values at their places.
  CPathOverheadPage page{card};
  SelectItem(&page, 1093, "光口B");
  SelectItem(&page, 1094, "2");
  TypeInto(&page, 1041, std::string(32, '5'));
  TypeInto(&page, 1046, "66");
  TypeInto(&page, 1042, std::string(32, '7'));
  TypeInto(&page, 1043, "88");
  TypeInto(&page, 1044, "99");
  TypeInto(&page, 1045, "aa");
  page.SetPathOverhead();
  EXPECT_EQ(op.Messages(), std::vector<std::string>{"高阶通道开销设置成功"});
  const auto requests = simulated.Requests();
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(requests.back().value.size(), 122u);

  page.ReadPathOverhead(true);
  EXPECT_EQ(Text(&page, 1041), std::string(32, '5'));
  EXPECT_EQ(Text(&page, 1046), "66");
  EXPECT_EQ(Text(&page, 1042), std::string(32, '7'));
  EXPECT_EQ(Text(&page, 1043), "88");
  EXPECT_EQ(Text(&page, 1044), "99");
  EXPECT_EQ(Text(&page, 1045), "AA");
}

}  // namespace
}  // namespace t740::test
