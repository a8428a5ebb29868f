#include "RunLog.h"

#include <gtest/gtest.h>

#include <vector>

TEST(RunLogFile, StartTextRoundTripsAndFieldsAreSet) {
  std::string text = FormatRunLogStart("20261210132500", "alice");
  EXPECT_EQ(text,
            "[ZOLT]\nStartTime=20261210132500\nUserName=alice\nWatch=0\nSchedule=1\nSocketClose=0\n"
            "MainFrameClose=0\nExitInstance=0\n");
  text = SetRunLogFieldInText(text, "Schedule", "7");
  text = SetRunLogFieldInText(text, "Watch", "1");
  RUN_LOG log;
  ASSERT_TRUE(ParseRunLog(text, log));
  EXPECT_EQ(log.fields[RUNLOG_START_TIME], "20261210132500");
  EXPECT_EQ(log.fields[RUNLOG_USER_NAME], "alice");
  EXPECT_EQ(log.fields[RUNLOG_WATCH], "1");
  EXPECT_EQ(log.fields[RUNLOG_SCHEDULE], "7");
  EXPECT_EQ(log.fields[RUNLOG_EXIT_INSTANCE], "0");
  EXPECT_TRUE(RunLogBelongsTo(log, "20261210132500"));
  EXPECT_FALSE(RunLogBelongsTo(log, "20261210132501"));
  EXPECT_FALSE(RunLogBelongsTo(log, ""));
  // A key missing from the file is added, CR-LF lines are read.
  std::string partial = SetRunLogFieldInText("[ZOLT]\r\nWatch=0\r\n", "ExitInstance", "1");
  ASSERT_TRUE(ParseRunLog(partial, log));
  EXPECT_EQ(log.fields[RUNLOG_EXIT_INSTANCE], "1");
  EXPECT_EQ(log.fields[RUNLOG_WATCH], "0");
  EXPECT_FALSE(ParseRunLog("", log));
}

TEST(RunLogFile, PreviousRunMatrix) {
  struct Case {
    const char *socket, *frame, *exit, *reason;
    int level;
  } cases[] = {{"0", "0", "0", "program abnormal end", 0},
               {"0", "1", "1", "program abnormal end", 0},
               {"1", "0", "0", "previous window still exist", 5},
               {"1", "0", "1", "previous window still exist", 5},
               {"1", "1", "0", "program closed,but not call exitinstance", 5},
               {"1", "1", "1", "program closed,but delete file failure", 0},
               {"", "", "", "program closed,but delete file failure", 0}};
  for (const auto& c : cases) {
    RUN_LOG log;
    log.fields[RUNLOG_START_TIME] = "20261210";
    log.fields[RUNLOG_USER_NAME] = "u";
    log.fields[RUNLOG_SOCKET_CLOSE] = c.socket;
    log.fields[RUNLOG_MAIN_FRAME_CLOSE] = c.frame;
    log.fields[RUNLOG_EXIT_INSTANCE] = c.exit;
    PREVIOUS_RUN_REPORT r = DecidePreviousRun(log);
    EXPECT_EQ(r.strReason, c.reason) << c.socket << c.frame << c.exit;
    EXPECT_EQ(r.nLevel, c.level) << c.socket << c.frame << c.exit;
  }
  RUN_LOG log;
  ParseRunLog(FormatRunLogStart("1", "bob"), log);
  EXPECT_EQ(DecidePreviousRun(log).strDescription,
            "starttime,username,watch,schedule,socketclose,mainframeclose,exitinstance(1,bob,0,1,0,0,0)");
}

TEST(RunLogFile, CrashReportSwitch) {
  struct Case {
    const char* text;
    int on, autoReport;
  } cases[] = {{"0", 0, 1}, {"1", 1, 1}, {"1,0", 1, 0}, {"2,1", 2, 1}, {"0,0", 0, 1}, {"", 0, 1}, {"x,0", 0, 1}};
  for (const auto& c : cases) {
    int on = -1, autoReport = -1;
    ParseCrashReportSwitch(c.text, on, autoReport);
    EXPECT_EQ(on, c.on) << c.text;
    EXPECT_EQ(autoReport, c.autoReport) << c.text;
  }
}

TEST(SafeNames, UserNamesStayInsideTheFolder) {
  struct Case {
    std::string user, stem;
  } cases[] = {
      {"alice", "alice"},
      {"..\\..\\windows\\evil", "______windows_evil"},
      {"a/b:c*d?e", "a_b_c_d_e"},
      {"", "_"},
      {"CON", "_CON"},
      {"lpt1", "_lpt1"},
      {"\xC8\xB7\xB6\xA8", "\xC8\xB7\xB6\xA8"},  // whole GBK characters stay
      {"\x81\x5C", "_"},                         // a GBK character whose trail byte is a backslash
      {"\x81", "_"},                             // a lone lead byte
  };
  for (const auto& c : cases) EXPECT_EQ(SafeFileStem(c.user), c.stem) << c.user;
  EXPECT_EQ(RunLogFileName("bob"), "bob.txt");
  EXPECT_EQ(PendingLogFileName("bob"), "bob_zolt.txt");
  EXPECT_LE(SafeFileStem(std::string(300, 'x')).size(), 40u);
}

TEST(PendingLog, LinesRoundTripWithSeparatorsInside) {
  REMOTE_LOG_LINE in{0, "connection", "closed 10.0.0.1:4100 100%", "can not\nenter"};
  std::string line = FormatRemoteLogLine(in);
  EXPECT_EQ(line, "0:connection:closed 10.0.0.1%3A4100 100%25:can not%0Aenter\n");
  REMOTE_LOG_LINE out;
  ASSERT_TRUE(ParseRemoteLogLine(line.substr(0, line.size() - 1), out));
  EXPECT_EQ(out.nLevel, 0);
  EXPECT_EQ(out.strTopic, in.strTopic);
  EXPECT_EQ(out.strText, in.strText);
  EXPECT_EQ(out.strReason, in.strReason);
  EXPECT_EQ(FormatRemoteLogLine({0, "game start", "can not enter channel,Vesk 581", "can not enter channel"}),
            "0:game start:can not enter channel,Vesk 581:can not enter channel\n");
  // Field limits: topic 31, text and reason 255.
  ASSERT_TRUE(ParseRemoteLogLine("5:" + std::string(40, 't') + ":" + std::string(300, 'x') + ":r", out));
  EXPECT_EQ(out.strTopic.size(), 31u);
  EXPECT_EQ(out.strText.size(), 255u);
  EXPECT_FALSE(ParseRemoteLogLine("1:a:b", out));
}

TEST(PendingLog, ReplayKeepsUnsentAndMalformedLines) {
  std::string file = "0:a:one:r\n5:b:two:r\n0:c:three:r\n";
  std::vector<std::string> sent;
  auto failTwo = [&](const REMOTE_LOG_LINE& l) {
    sent.push_back(l.strText);
    return l.strText != "two";
  };
  EXPECT_EQ(ReplayRemoteLog(file, failTwo), "5:b:two:r\n");
  EXPECT_EQ(sent, (std::vector<std::string>{"one", "two", "three"}));

  sent.clear();
  auto all = [&](const REMOTE_LOG_LINE& l) {
    sent.push_back(l.strText);
    return true;
  };
  EXPECT_EQ(ReplayRemoteLog("0:a:one:r\r\n\nbroken line\n0:c:three:r", all), "broken line\n0:c:three:r");
  EXPECT_EQ(sent, (std::vector<std::string>{"one"}));
  EXPECT_EQ(ReplayRemoteLog("0:a:one:r", all), "");
  EXPECT_EQ(ReplayRemoteLog("", all), "");
}
