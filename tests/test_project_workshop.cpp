#include <gtest/gtest.h>

#include "project/workshop_name.h"

namespace {

TEST(WorkshopName, BlankAndReservedNames) {
  EXPECT_EQ(CheckWorkshopName(u""), WorkshopNameCheck::kBlank);
  EXPECT_EQ(CheckWorkshopName(u" abc"), WorkshopNameCheck::kBlank);
  EXPECT_EQ(CheckWorkshopName(u"\u2003abc"), WorkshopNameCheck::kBlank);
  EXPECT_EQ(CheckWorkshopName(u"\u200Fabc"), WorkshopNameCheck::kBlank);
  EXPECT_EQ(CheckWorkshopName(u"\u200B"), WorkshopNameCheck::kBlank);
  EXPECT_EQ(CheckWorkshopName(u"\u2010abc"), WorkshopNameCheck::kOk);
  EXPECT_EQ(CheckWorkshopName(u"\u3000abc"),
            WorkshopNameCheck::kOk);  // the ideographic space is no blank here
  EXPECT_EQ(CheckWorkshopName(u"abc "), WorkshopNameCheck::kOk);
  EXPECT_EQ(CheckWorkshopName(u"\tabc"), WorkshopNameCheck::kOk);

  for (const char16_t* name : {u"o.rvell", u"ORVELL", u"Tam", u"zEk", u"ZEK5", u"HalVane"})
    EXPECT_EQ(CheckWorkshopName(name), WorkshopNameCheck::kReserved);
  EXPECT_EQ(CheckWorkshopName(u"zek6"), WorkshopNameCheck::kOk);
  EXPECT_EQ(CheckWorkshopName(u"tam工房"), WorkshopNameCheck::kOk);
  EXPECT_EQ(CheckWorkshopName(u"my zek"), WorkshopNameCheck::kOk);
  EXPECT_EQ(CheckWorkshopName(u"ｚｅｋ"), WorkshopNameCheck::kOk);  // only A to Z are folded
  EXPECT_EQ(CheckWorkshopName(u"レールウィック工房"), WorkshopNameCheck::kOk);
  EXPECT_EQ(CheckWorkshopName(std::u16string(63, u'工')), WorkshopNameCheck::kOk);
  EXPECT_EQ(CheckWorkshopName(std::u16string(64, u'工')), WorkshopNameCheck::kTooLong);  // refused, never cut
}

}  // namespace
