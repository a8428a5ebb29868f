#include "RunLogStore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace fs = std::filesystem;

namespace {

class RunLogStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("runlogstore_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  CRunLogStore Store(bool on, const std::string& start = "20261210130000", const std::string& user = "alice") {
    return CRunLogStore(dir.string(), user, start, on, [this](const REMOTE_LOG_LINE& l) {
      sent.push_back(l);
      return accept;
    });
  }
  static std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  static void Write(const fs::path& p, const std::string& text) { std::ofstream(p, std::ios::binary) << text; }

  fs::path dir;
  std::vector<REMOTE_LOG_LINE> sent;
  bool accept = true;
};

}  // namespace

TEST_F(RunLogStoreTest, SwitchOffTouchesNoFile) {
  Write(dir / "alice.txt", "[ZOLT]\nSocketClose=0\n");
  Write(dir / "alice_zolt.txt", "0:a:b:c\n");
  CRunLogStore s = Store(false);
  EXPECT_FALSE(s.WriteRunLogStart());
  EXPECT_FALSE(s.SetRunLogField("Watch", "1"));
  EXPECT_FALSE(s.CheckPreviousRun());
  EXPECT_FALSE(s.SendOrQueue({0, "connection", "x", "y"}));
  s.QueueRemoteLog({0, "connection", "x", "y"});
  s.ClearRunLog();
  EXPECT_TRUE(sent.empty());
  EXPECT_EQ(Read(dir / "alice.txt"), "[ZOLT]\nSocketClose=0\n");
  EXPECT_EQ(Read(dir / "alice_zolt.txt"), "0:a:b:c\n");
}

TEST_F(RunLogStoreTest, ARunFromStartToCleanExit) {
  CRunLogStore s = Store(true);
  EXPECT_FALSE(s.CheckPreviousRun());  // nothing pending, nothing reported
  EXPECT_TRUE(sent.empty());
  ASSERT_TRUE(s.WriteRunLogStart());
  EXPECT_TRUE(s.SetRunLogField("Schedule", "7"));
  EXPECT_TRUE(s.SetRunLogField("SocketClose", "1"));
  EXPECT_TRUE(s.SetRunLogField("MainFrameClose", "1"));
  EXPECT_TRUE(s.SetRunLogField("ExitInstance", "1"));
  RUN_LOG log;
  ASSERT_TRUE(s.ReadRunLog(log));
  EXPECT_EQ(log.fields[RUNLOG_SCHEDULE], "7");
  // Another run's file is left alone, this run's is removed.
  CRunLogStore other = Store(true, "20261210140000");
  other.ClearRunLog();
  EXPECT_TRUE(fs::exists(s.RunFilePath()));
  s.ClearRunLog();
  EXPECT_FALSE(fs::exists(s.RunFilePath()));
  EXPECT_FALSE(s.SetRunLogField("Watch", "1"));  // no file is made by a field write
}

TEST_F(RunLogStoreTest, AbnormalEndIsReportedAndPendingLinesReplayed) {
  CRunLogStore before = Store(true, "20261210120000");
  before.WriteRunLogStart();
  before.SetRunLogField("SocketClose", "1");
  before.SetRunLogField("MainFrameClose", "1");
  accept = false;
  EXPECT_FALSE(before.SendOrQueue({0, "connection", "closed 10.0.0.1:4100", "socket"}));
  before.QueueRemoteLog({5, "game start", "two", "r"});
  sent.clear();

  accept = true;
  CRunLogStore now = Store(true);
  EXPECT_TRUE(now.CheckPreviousRun());
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(sent[0].strTopic, "game run");
  EXPECT_EQ(sent[0].strReason, "program closed,but not call exitinstance");
  EXPECT_EQ(sent[0].nLevel, 5);
  EXPECT_EQ(sent[1].strText, "closed 10.0.0.1:4100");
  EXPECT_EQ(sent[2].nLevel, 5);
  EXPECT_FALSE(fs::exists(now.PendingFilePath()));
}

TEST_F(RunLogStoreTest, LinesNotTakenStayQueued) {
  Write(dir / "alice_zolt.txt", "0:a:one:r\n0:a:two:r\nnot a line\n0:a:three:r\n");
  accept = false;
  CRunLogStore s = Store(true);
  EXPECT_TRUE(s.CheckPreviousRun());
  EXPECT_EQ(Read(dir / "alice_zolt.txt"), "0:a:one:r\n0:a:two:r\nnot a line\n0:a:three:r\n");
  accept = true;
  sent.clear();
  EXPECT_TRUE(s.CheckPreviousRun());
  EXPECT_EQ(sent.size(), 2u);
  EXPECT_EQ(Read(dir / "alice_zolt.txt"), "not a line\n0:a:three:r\n");
}

TEST_F(RunLogStoreTest, UserNamesCannotLeaveTheFolder) {
  CRunLogStore s = Store(true, "1", "../../escape");
  ASSERT_TRUE(s.WriteRunLogStart());
  s.QueueRemoteLog({0, "t", "x", "r"});
  EXPECT_EQ(fs::path(s.RunFilePath()).parent_path(), dir);
  EXPECT_TRUE(fs::exists(dir / "______escape.txt"));
  EXPECT_TRUE(fs::exists(dir / "______escape_zolt.txt"));
}
