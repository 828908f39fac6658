// A text field of fixed capacity in UTF-16 units, terminator included, as
// the project record keeps its names and paths: a longer text is cut.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// Stores at most capacity - 1 units and clears the rest. A cut never splits
// a surrogate pair, so the stored text stays valid UTF-16.
inline void SetFixedText(char16_t* units, size_t capacity, std::u16string_view text) {
  size_t n = text.size() < capacity - 1 ? text.size() : capacity - 1;
  if (n < text.size() && n > 0 && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) --n;
  text.copy(units, n);
  for (size_t i = n; i < capacity; ++i) units[i] = 0;
}

template <size_t N>
struct FixedText {
  static constexpr size_t kCapacity = N;
  char16_t units[N] = {};

  void Set(std::u16string_view text) { SetFixedText(units, N, text); }
  void Clear() { Set({}); }
  bool empty() const { return units[0] == 0; }
  size_t size() const {
    size_t n = 0;
    while (n < N && units[n]) ++n;
    return n;
  }
  std::u16string_view view() const { return {units, size()}; }
  std::u16string str() const { return std::u16string(view()); }
};

constexpr size_t kPathCapacity = 260;
using PathText = FixedText<kPathCapacity>;
