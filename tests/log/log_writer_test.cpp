// The log writer: the line that waits in the "cable" box reaches the file once and in time order,
// whichever minutes end and whichever ending comes while the box is open.
#include "log/log_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace {

class RecordingFile : public ILogFile {
 public:
  bool IsEmpty() override { return lines.empty(); }
  void Append(const char* text, size_t length) override { lines.emplace_back(text, length); }
  std::vector<std::string> lines;
};

// Runs a script while the first box is open; a box opened on top of it is answered at once.
class ScriptedNotice : public ILogNotice {
 public:
  void ShowNotice(const char* text) override {
    shown.emplace_back(text);
    mostOpen = std::max(mostOpen, ++open);
    if (open == 1 && whileOpen) whileOpen();
    --open;
  }
  std::function<void()> whileOpen;
  std::vector<std::string> shown;
  int open = 0;
  int mostOpen = 0;
};

// Minute m of the day: m bytes sent and 100 m received.
MinuteRecord Minute(int m, bool linkDown) {
  return MinuteRecord{{2003, 5, 14, 3, 10, m, 30}, uint64_t(m), uint64_t(m) * 100, linkDown};
}
std::string LineOf(int m) {
  return "2003,5,14,3,10," + std::to_string(m) + ",30," + std::to_string(m) + "," + std::to_string(m * 100) +
         ",\r\n";
}
std::vector<std::string> LinesOf(const std::vector<int>& minutes) {
  std::vector<std::string> lines;
  for (int m : minutes) lines.push_back(LineOf(m));
  return lines;
}

// What happens while the box of minute 21 is open.
enum class Event {
  LinkDown,  // a minute ends with the link still down
  LinkUp,    // a minute ends with the link back
  Ending,    // Exit, the end of the session, Enter, Escape, a close request, the statistics freed
};
struct InsideTheBox {
  Event event;
  int minute;  // of a minute that ends
};

struct BoxCase {
  const char* name;
  std::vector<InsideTheBox> events;
  std::vector<int> writtenWhenTheBoxCloses;
};

void PrintTo(const BoxCase& c, std::ostream* out) {
  *out << c.name;
}

class CableBoxOrder : public ::testing::TestWithParam<BoxCase> {};

TEST_P(CableBoxOrder, EveryMinuteReachesTheFileOnceInTimeOrderUnderOneBox) {
  const BoxCase& c = GetParam();
  RecordingFile file;
  ScriptedNotice notice;
  TrafficLogWriter writer(notice);
  notice.whileOpen = [&] {
    EXPECT_TRUE(file.lines.empty()) << "minute 21 was written before its box was answered";
    for (const InsideTheBox& step : c.events) {
      if (step.event == Event::Ending) {
        writer.Flush();
        EXPECT_EQ(file.lines.front(), LineOf(21)) << "the ending did not write the waiting minute";
      } else {
        writer.Write(&file, Minute(step.minute, step.event == Event::LinkDown));
      }
    }
  };

  writer.Write(&file, Minute(21, true));
  EXPECT_EQ(file.lines, LinesOf(c.writtenWhenTheBoxCloses));
  EXPECT_EQ(notice.shown, std::vector<std::string>{"cable"});
  EXPECT_EQ(notice.mostOpen, 1) << "a second box opened on top of the first";

  writer.Flush();  // a later ending writes nothing twice
  EXPECT_EQ(file.lines, LinesOf(c.writtenWhenTheBoxCloses));
}

INSTANTIATE_TEST_SUITE_P(
    Writer, CableBoxOrder,
    ::testing::Values(BoxCase{"Answered", {}, {21}}, BoxCase{"EndingInside", {{Event::Ending, 0}}, {21}},
                      BoxCase{"EndingTwice", {{Event::Ending, 0}, {Event::Ending, 0}}, {21}},
                      BoxCase{"LinkStillDown", {{Event::LinkDown, 22}, {Event::LinkDown, 23}}, {21, 22, 23}},
                      BoxCase{"LinkBack", {{Event::LinkUp, 22}}, {21, 22}},
                      BoxCase{"LinkBackThenEnding",
                              {{Event::LinkUp, 22}, {Event::LinkDown, 23}, {Event::Ending, 0}},
                              {21, 22, 23}},
                      BoxCase{"EndingThenLinkBack", {{Event::Ending, 0}, {Event::LinkUp, 22}}, {21, 22}}),
    [](const ::testing::TestParamInfo<BoxCase>& info) { return std::string(info.param.name); });

TEST(Writer, MinuteOfALinkThatIsUpGoesStraightToTheFileWithNoBox) {
  RecordingFile file;
  ScriptedNotice notice;
  TrafficLogWriter writer(notice);
  writer.Write(&file, Minute(5, false));
  writer.Write(&file, Minute(6, false));
  EXPECT_EQ(file.lines, LinesOf({5, 6}));
  EXPECT_TRUE(notice.shown.empty());
}

TEST(Writer, EachBoxAnsweredLetsTheNextDownMinuteAskAgain) {
  RecordingFile file;
  ScriptedNotice notice;
  TrafficLogWriter writer(notice);
  writer.Write(&file, Minute(5, true));
  writer.Write(&file, Minute(6, true));
  EXPECT_EQ(file.lines, LinesOf({5, 6}));
  EXPECT_EQ(notice.shown, (std::vector<std::string>{"cable", "cable"}));
}

// The waiting minute goes to its own file, even when a minute of another interface comes first.
TEST(Writer, WaitingMinuteGoesToTheFileItWasTakenFor) {
  RecordingFile first, second;
  ScriptedNotice notice;
  TrafficLogWriter writer(notice);
  notice.whileOpen = [&] { writer.Write(&second, Minute(22, false)); };
  writer.Write(&first, Minute(21, true));
  EXPECT_EQ(first.lines, LinesOf({21}));
  EXPECT_EQ(second.lines, LinesOf({22}));
}

TEST(Writer, WithNoFileTheBoxStillShowsAndNothingIsWritten) {
  ScriptedNotice notice;
  TrafficLogWriter writer(notice);
  writer.Write(nullptr, Minute(21, true));
  writer.Flush();
  EXPECT_EQ(notice.shown, std::vector<std::string>{"cable"});
}

}  // namespace
