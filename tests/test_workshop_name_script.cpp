// A workshop name is refused up front when the script could not carry it.
#include <gtest/gtest.h>

#include "project/workshop_name_script.h"

namespace {

TEST(WorkshopNameScript, FindsWhatTheScriptCannotCarry) {
  constexpr size_t kNone = std::u16string_view::npos;
  EXPECT_EQ(FindUnscriptableCharacter(u"ＺＥＫ工房"), kNone);
  EXPECT_EQ(FindUnscriptableCharacter(u"Railwick works ｱｲｳ"), kNone);  // half-width katakana too
  EXPECT_EQ(FindUnscriptableCharacter(u"\u3000工房"), kNone);
  EXPECT_EQ(FindUnscriptableCharacter(u"caf\u00E9"), 3u);  // no code page 932 form
  EXPECT_EQ(FindUnscriptableCharacter(u"a\"b"), 1u);       // would end the quote
  EXPECT_EQ(FindUnscriptableCharacter(u"ab\tc"), 2u);      // would break the line
  EXPECT_EQ(FindUnscriptableCharacter(u"\U0001F682"), 0u);
  EXPECT_EQ(UnscriptableCharacterMessage(u"caf\u00E9", 3),
            u"工房名に使用できない文字が含まれています。(U+00E9)\n別の文字を使用してください。");
  // A character outside the BMP is named whole, not by its first half.
  EXPECT_EQ(UnscriptableCharacterMessage(u"工房\U0001F600", 2),
            u"工房名に使用できない文字が含まれています。(U+1F600)\n別の文字を使用してください。");
}

}  // namespace
