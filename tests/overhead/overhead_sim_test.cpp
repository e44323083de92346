// Both overhead pages against the simulated card: what a page sets is what
// the card reports on the next read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/card/request_frame.h"
#include "ids/path_overhead_ids.h"
#include "ids/progress_dialog_ids.h"
#include "ids/section_direction_ids.h"
#include "ids/section_overhead_ids.h"
#include "pages/path_overhead_page.h"
#include "pages/section_overhead_page.h"
#include "sim/default_card.h"
#include "sim/request_binding.h"
#include "sim/simulated_card.h"
#include "support/controls.h"
#include "support/dialog_fixture.h"

namespace t740::test {
namespace {

namespace sd = ids::section_direction;
namespace po = ids::path_overhead;
using ids::section_overhead::kDirectionTemplates;

// The edits of a direction that the operator may write in.
constexpr int kWritableEdits[] = {sd::kJ0Expected, sd::kJ0Send, sd::kK1Send,
                                  sd::kK2Send,     sd::kS1Send, sd::kZ0Send};

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
  EXPECT_EQ(Text(a, sd::kJ0Received).size(), 32u);  // the received J0 of the polled record

  const std::string expected[] = {"0123456789abcdef0123456789abcdef", std::string(32, 'b'),
                                  std::string(32, 'c'), std::string(32, 'd')};
  for (size_t d = 0; d < 4; ++d) {
    QWidget* direction = Page(&page, kDirectionTemplates[d]);
    TypeInto(direction, sd::kJ0Expected, expected[d]);
    TypeInto(direction, sd::kJ0Send, std::string(32, "1234"[d]));
    TypeInto(direction, sd::kK1Send, "0" + std::to_string(d));
    TypeInto(direction, sd::kK2Send, "a" + std::to_string(d));
    TypeInto(direction, sd::kS1Send, "0f");
    TypeInto(direction, sd::kZ0Send, "cc");
  }
  page.SetSectionOverhead();
  EXPECT_EQ(op.Messages(), std::vector<std::string>{"开销设置成功"});

  // Clear the page so that only the card can bring the values back.
  for (size_t d = 0; d < 4; ++d) {
    for (int id : kWritableEdits) TypeInto(Page(&page, kDirectionTemplates[d]), id, "");
  }
  page.ReadSectionOverhead();
  EXPECT_EQ(op.CountShown(ids::progress_dialog::kTemplate), 1u);
  for (size_t d = 0; d < 4; ++d) {
    QWidget* direction = Page(&page, kDirectionTemplates[d]);
    std::string upper = expected[d];
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(Text(direction, sd::kJ0Expected), upper) << d;
    EXPECT_EQ(Text(direction, sd::kJ0Send), std::string(32, "1234"[d])) << d;
    EXPECT_EQ(Text(direction, sd::kK1Send), "0" + std::to_string(d)) << d;
    EXPECT_EQ(Text(direction, sd::kK2Send), "A" + std::to_string(d)) << d;
    EXPECT_EQ(Text(direction, sd::kS1Send), "0F") << d;
    EXPECT_EQ(Text(direction, sd::kZ0Send), "CC") << d;
  }
  EXPECT_EQ(op.Messages().size(), 1u);
}

TEST_F(OverheadSimTest, PathOverheadSetIsWhatTheReadButtonShowsForThatChannel) {
  CPathOverheadPage page{card};
  page.ReadPathOverhead(false);
  ASSERT_TRUE(op.Messages().empty()) << op.Messages()[0];
  EXPECT_EQ(Text(&page, po::kJ1Received).size(), 32u);

  SelectItem(&page, po::kPort, "光口C");
  SelectItem(&page, po::kVc4, "3");
  TypeInto(&page, po::kJ1Expected, std::string(32, 'e'));
  TypeInto(&page, po::kC2Expected, "c2");
  TypeInto(&page, po::kJ1Send, "0123456789abcdef0123456789abcdef");
  TypeInto(&page, po::kC2Send, "13");
  TypeInto(&page, po::kK3Send, "0a");
  SelectItem(&page, po::kG1Send, "HP_RDI");
  TypeInto(&page, po::kN1Send, "7f");
  page.SetPathOverhead();
  EXPECT_EQ(op.Messages(), std::vector<std::string>{"高阶通道开销设置成功"});

  // Another channel first: it must not report the values just set.
  SelectItem(&page, po::kPort, "光口A");
  SelectItem(&page, po::kVc4, "1");
  page.ReadPathOverhead(true);
  EXPECT_EQ(Text(&page, po::kPort), "光口A");
  EXPECT_EQ(Text(&page, po::kVc4), "1");
  EXPECT_NE(Text(&page, po::kJ1Send), "0123456789ABCDEF0123456789ABCDEF");

  SelectItem(&page, po::kPort, "光口C");
  SelectItem(&page, po::kVc4, "3");
  page.ReadPathOverhead(true);
  EXPECT_EQ(Text(&page, po::kPort), "光口C");
  EXPECT_EQ(Text(&page, po::kVc4), "3");
  EXPECT_EQ(Text(&page, po::kJ1Expected), std::string(32, 'E'));
  EXPECT_EQ(Text(&page, po::kC2Expected), "C2");
  EXPECT_EQ(Text(&page, po::kJ1Send), "0123456789ABCDEF0123456789ABCDEF");
  EXPECT_EQ(Text(&page, po::kC2Send), "13");
  EXPECT_EQ(Text(&page, po::kK3Send), "0A");
  EXPECT_EQ(Text(&page, po::kG1Send), "HP_RDI");
  EXPECT_EQ(Text(&page, po::kN1Send), "7F");
  EXPECT_EQ(op.Messages().size(), 1u);
}

TEST_F(OverheadSimTest, PathOverheadSetBeforeAnyReadKeepsEveryFieldInPlace) {
  // Without a read the received J1 and C2 are empty; the card still gets a
  // complete record and stores the values at their places.
  CPathOverheadPage page{card};
  SelectItem(&page, po::kPort, "光口B");
  SelectItem(&page, po::kVc4, "2");
  TypeInto(&page, po::kJ1Expected, std::string(32, '5'));
  TypeInto(&page, po::kC2Expected, "66");
  TypeInto(&page, po::kJ1Send, std::string(32, '7'));
  TypeInto(&page, po::kC2Send, "88");
  TypeInto(&page, po::kK3Send, "99");
  TypeInto(&page, po::kN1Send, "aa");
  page.SetPathOverhead();
  EXPECT_EQ(op.Messages(), std::vector<std::string>{"高阶通道开销设置成功"});
  const auto requests = simulated.Requests();
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(requests.back().value.size(), 122u);

  page.ReadPathOverhead(true);
  EXPECT_EQ(Text(&page, po::kJ1Expected), std::string(32, '5'));
  EXPECT_EQ(Text(&page, po::kC2Expected), "66");
  EXPECT_EQ(Text(&page, po::kJ1Send), std::string(32, '7'));
  EXPECT_EQ(Text(&page, po::kC2Send), "88");
  EXPECT_EQ(Text(&page, po::kK3Send), "99");
  EXPECT_EQ(Text(&page, po::kN1Send), "AA");
}

}  // namespace
}  // namespace t740::test
