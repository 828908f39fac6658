#include <gtest/gtest.h>

#include "project/workshop_name.h"

namespace {

TEST(WorkshopName, BlankAndReservedNames) {
  EXPECT_EQ(CheckWorkshopName(u""), 1);
  EXPECT_EQ(CheckWorkshopName(u" abc"), 1);
  EXPECT_EQ(CheckWorkshopName(u"\u2003abc"), 1);
  EXPECT_EQ(CheckWorkshopName(u"\u200Fabc"), 1);
  EXPECT_EQ(CheckWorkshopName(u"\u200B"), 1);
  EXPECT_EQ(CheckWorkshopName(u"\u2010abc"), 0);
  EXPECT_EQ(CheckWorkshopName(u"\u3000abc"), 0);  // the ideographic space is no blank here
  EXPECT_EQ(CheckWorkshopName(u"abc "), 0);
  EXPECT_EQ(CheckWorkshopName(u"\tabc"), 0);

  for (const char16_t* name : {u"o.rvell", u"ORVELL", u"Tam", u"zEk", u"ZEK5", u"HalVane"})
    EXPECT_EQ(CheckWorkshopName(name), 2);
  EXPECT_EQ(CheckWorkshopName(u"zek6"), 0);
  EXPECT_EQ(CheckWorkshopName(u"tam工房"), 0);
  EXPECT_EQ(CheckWorkshopName(u"my zek"), 0);
  EXPECT_EQ(CheckWorkshopName(u"ｚｅｋ"), 0);  // only A to Z are folded
  EXPECT_EQ(CheckWorkshopName(u"レールウィック工房"), 0);
  EXPECT_EQ(CheckWorkshopName(std::u16string(63, u'工')), 0);
  EXPECT_EQ(CheckWorkshopName(std::u16string(64, u'工')), 3);  // refused, never cut
}

}  // namespace
