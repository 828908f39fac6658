#include <gtest/gtest.h>

#include "compiler/log_buffer.h"
#include "tests/test_util.h"

namespace {

TEST(LogBuffer, FormatsAndMarksErrors) {
  LogBuffer log;
  EXPECT_EQ(Log(log, 1, u"a %s b %d c %u %x %X %%\r\n", u"テキスト", -12, 7u, 255u, 255u), 26u);
  EXPECT_EQ(U8(log.text), "a テキスト b -12 c 7 ff FF %\r\n");
  EXPECT_EQ(log.error_mark, 0);
  Log(log, 0, u"err\r\n");
  EXPECT_EQ(log.error_mark, 1);
  EXPECT_EQ(log.entries.size(), 2u);
  // Missing arguments format as nothing rather than reading garbage.
  LogBuffer other;
  Log(other, 1, u"[%s][%d]");
  EXPECT_EQ(U8(other.text), "[][]");
}

TEST(LogBuffer, MessageThatWouldReachCapacityIsDropped) {
  LogBuffer log(10);
  Log(log, 1, u"12345");        // length 5
  Log(log, 0, u"abcde");        // 5 + 5 reaches 10: dropped, no error mark
  EXPECT_EQ(log.length(), 5u);
  EXPECT_EQ(log.error_mark, 0);
  Log(log, 0, u"abcd");         // 9 < 10: fits
  EXPECT_EQ(U8(log.text), "12345abcd");
  EXPECT_EQ(log.error_mark, 1);
  Log(log, 1, u"x");            // 9 + 1 reaches 10: dropped
  // The count of dropped messages closes the log, past its capacity.
  LogDroppedLines(log);
  EXPECT_EQ(U8(log.text), "12345abcdログが一杯のため 2 行を省略しました\r\n");
}

TEST(LogBuffer, OverlongMessageIsCutToTheFormattingBuffer) {
  LogBuffer log;
  std::u16string huge(100000, u'x');
  EXPECT_EQ(Log(log, 1, u"%s", huge), 65535u);
  EXPECT_EQ(log.length(), 65535u);
}

}  // namespace
