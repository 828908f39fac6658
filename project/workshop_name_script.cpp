#include "project/workshop_name_script.h"

std::u16string UnscriptableCharacterMessage(std::u16string_view name, size_t position) {
  return u"工房名に使用できない文字が含まれています。(" + CharacterCode(name, position) +
         u")\n別の文字を使用してください。";
}
