// Session files: the events they hold and the lines they refuse.
#include "engine/run/headless_session.h"

#include <gtest/gtest.h>

namespace {

using Kind = SessionEvent::Kind;

TEST(SessionParse, EventsCommentsAndBlankLines) {
  SessionParse p = Session_Parse(
      "# a comment\n\n3 move -20 14\n4 click\r\n5 rclick\n6 key Escape\n6 key F12\n7 key q\n"
      "  9\tshot hall\n12 quit");
  ASSERT_TRUE(p.ok()) << p.error;
  ASSERT_EQ(p.events.size(), 8u);
  EXPECT_EQ(p.events[0].kind, Kind::kMove);
  EXPECT_EQ(p.events[0].dx, -20);
  EXPECT_EQ(p.events[0].dy, 14);
  EXPECT_EQ(p.events[1].kind, Kind::kClick);
  EXPECT_EQ(p.events[2].kind, Kind::kRightClick);
  EXPECT_EQ(p.events[4].name, "F12");
  EXPECT_EQ(p.events[6].kind, Kind::kShot);
  EXPECT_EQ(p.events[6].frame, 9u);
  EXPECT_EQ(p.events[7].kind, Kind::kQuit);
}

TEST(SessionParse, MalformedLinesNameTheirLine) {
  const std::pair<const char*, const char*> cases[] = {
      {"1 click\nx click\n", "line 2: \"x\" is not a frame number"},
      {"1 jump\n", "line 1: unknown event \"jump\""},
      {"1 move 3\n", "line 1: move takes DX DY"},
      {"1 move 3 4 5\n", "line 1: move takes DX DY"},
      {"1 key F13\n", "line 1: key takes one NAME"},
      {"1 key ab\n", "line 1: key takes one NAME"},
      {"1 click now\n", "line 1: click takes nothing"},
      {"1 shot ../x\n", "line 1: shot takes one NAME without '/'"},
      {"-1 quit\n", "line 1: \"-1\" is not a frame number"},
      {"5\n", "line 1: expected FRAME EVENT"},
  };
  for (auto [text, error] : cases) {
    SessionParse p = Session_Parse(text);
    EXPECT_EQ(p.error.rfind(error, 0), 0u) << text << " gave " << p.error;
    EXPECT_TRUE(p.events.empty());
  }
}

}  // namespace
