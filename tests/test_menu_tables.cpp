#include <gtest/gtest.h>

#include "dialogs/about_text.h"
#include "dialogs/data_dialogs.h"

namespace {

TEST(MenuTables, DataMenuCommandsOpenTheirTemplates) {
  // Menu id and template, as the menu's description pairs them.
  const int pairs[][2] = {{32781, 122}, {32782, 123}, {32783, 124}, {32784, 125}, {32785, 126},
                          {32786, 127}, {32787, 128}, {32789, 129}, {32790, 130}, {32788, 140}};
  for (const auto& p : pairs) EXPECT_EQ(DataDialogOfCommand(p[0]), p[1]) << p[0];
  // The other commands open no data dialog.
  for (int id : {32771, 32772, 32780, 32778, 32779, 32792, 104, 105, 0, 32791})
    EXPECT_EQ(DataDialogOfCommand(id), 0);
}

TEST(MenuTables, AboutTextAndVersionLookup) {
  EXPECT_EQ(AboutText(u"Railwick", u"0.1.0", u"(C) someone"),
            u"Railwick\r\nVersion 0.1.0\r\n(C) someone\r\n");
  EXPECT_EQ(AboutText(std::u16string(3000, u'x'), u"1", u"c").size(), 2048u);

  const std::vector<VersionTranslation>& order = VersionLookupOrder();
  // Japanese in UTF-16 first, then 12 code pages times 33 + 12 languages.
  ASSERT_EQ(order.size(), 1u + 12u * 45u);
  EXPECT_EQ(order[0].language, 0x0411);
  EXPECT_EQ(order[0].code_page, 1200);
  EXPECT_EQ(order[1].language, 0x0401);
  EXPECT_EQ(order[1].code_page, 0);
  EXPECT_EQ(order[33].language, 0x0421);
  EXPECT_EQ(order[34].language, 0x0804);
  EXPECT_EQ(order[45].language, 0x100C);
  EXPECT_EQ(order[46].language, 0x0401);
  EXPECT_EQ(order[46].code_page, 932);
  EXPECT_EQ(order.back().language, 0x100C);
  EXPECT_EQ(order.back().code_page, 1256);
  EXPECT_EQ(VersionStringKey({0x0411, 1200}, u"ProductName"), u"\\StringFileInfo\\041104b0\\ProductName");
  EXPECT_EQ(VersionStringKey({0x080A, 1252}, u"LegalCopyright"),
            u"\\StringFileInfo\\080a04e4\\LegalCopyright");
}

}  // namespace
