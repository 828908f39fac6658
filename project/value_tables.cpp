#include "project/value_tables.h"

// In the order of the basic-settings dialog's category list.
const ValueName CategoryTable[] = {
    {1, u"蒸気機関車"},  {2, u"電気機関車"},  {4, u"ディーゼル機関車"}, {16, u"新幹線"},
    {32, u"普通電車"},   {33, u"特急電車"},   {34, u"急行電車"},        {48, u"普通気動車"},
    {49, u"特急気動車"}, {50, u"急行気動車"}, {64, u"特別列車"},        {65, u"寝台客車"},
    {66, u"客車"},       {80, u"貨車"},       {81, u"コンテナ"},        {96, u"試験車"},
    {97, u"事業車"},     {98, u"試作車"},     {112, u"都市交通"},       {0, nullptr},
};

const ValueName BogieTypeTable[] = {
    {1, u"回転"},
    {2, u"固定"},
    {3, u"中間"},
    {0, nullptr},
};

const ValueName ContainerTypeTable[] = {
    {1, u"荷物、その他"},   {2, u"自動車（小型）"},       {3, u"自動車（中型）"},
    {4, u"自動車（大型）"}, {5, u"国鉄5t、JR12フィート"}, {9, u"国鉄10t、JR20フィート"},
    {10, u"JR30フィート"},  {11, u"ISO20フィート"},       {12, u"ISO40フィート"},
    {0, nullptr},
};

int FindCategory(int32_t id) {
  for (int row = 0; CategoryTable[row].id != 0; ++row)
    if (CategoryTable[row].id == id) return row;
  return -1;
}

const char16_t* FindValueName(const ValueName* table, int32_t id) {
  for (; table->id != 0; ++table)
    if (table->id == id) return table->name;
  return nullptr;
}
