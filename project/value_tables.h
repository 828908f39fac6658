// Ids and Japanese names shared by the dialogs, the project reader and the
// script writer. Each table ends with a row of id 0.
#pragma once
#include <cstdint>

struct ValueName {
  int32_t id;
  const char16_t* name;
};

extern const ValueName CategoryTable[];
extern const ValueName BogieTypeTable[];
extern const ValueName ContainerTypeTable[];

// Row index of `id` in the category table, or -1.
int FindCategory(int32_t id);
// The name of `id` in a table, or null when the table lacks it (id 0 included).
const char16_t* FindValueName(const ValueName* table, int32_t id);
