// A project with every field set (tests/data/project/full), shared by the
// script and file tests.
#pragma once
#include <memory>
#include <utility>

#include "project/project_file.h"
#include "tests/test_util.h"

namespace testing_project {

inline std::unique_ptr<VehicleProject> FullProject() {
  auto p = std::make_unique<VehicleProject>();
  p->folder = SourcePath("tests/data/project/full/");  // where its images and sounds lie
  ReadProjectText(*p, U16(ReadTestFile(p->folder + u"full.xml")));
  p->folder.clear();
  p->maker.Set(u"レールウィック工房");
  // Gaps the reader packs away: a mount the dialog does not show, the third
  // bogie and the third container place.
  std::swap(p->truck[0].tirein[2], p->truck[0].tirein[3]);
  std::swap(p->truck[1], p->truck[2]);
  std::swap(p->container[1], p->container[2]);
  return p;
}

}  // namespace testing_project
