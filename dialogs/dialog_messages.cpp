#include "dialogs/dialog_messages.h"

#include "dialogs/dialog_numbers.h"

std::u16string NumberMessage(const char16_t* label) {
  return std::u16string(label) + u"：数値を正しく入力してください。";
}

std::u16string IntegerRangeMessage(const char16_t* label, int32_t low, int32_t high) {
  return std::u16string(label) + u"：" + FormatDialogInt(low) + u"から" + FormatDialogInt(high) +
         u"までの整数を入力してください。";
}

std::u16string PathTooLongMessage(const char16_t* label, size_t longest) {
  return std::u16string(label) + u"：パスが長すぎます。\n" + FormatDialogInt(static_cast<int32_t>(longest)) +
         u"文字以内のパスを指定してください。";
}
