// One line per step of a Make-data run on stderr, shown only when stderr is
// a terminal, so logs and pipes stay free of progress noise.
#pragma once
#include <string>

#include "datamake/make_data.h"

class ProgressLines : public MakeDataProgress {
 public:
  ProgressLines();  // shown when stderr is a terminal
  explicit ProgressLines(bool shown) : shown_(shown) {}
  void Step(MakeDataStep step, const std::u16string& detail) override;

 private:
  bool shown_;
  int models_ = 0;
};
