// A preview factory without a device, for the command-line tool and the
// tests: it reads mesh files and PNG headers, keeps their counts and sizes,
// and counts (and, when asked, lists) what was made and released.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "compiler/preview_factory.h"

struct PreviewTally {
  int meshes_made = 0;
  int meshes_released = 0;
  int textures_made = 0;
  int textures_released = 0;
  int line_batches_made = 0;
  int line_batches_released = 0;
  // One UTF-8 line per creation or release, in order, while keep_events is set.
  bool keep_events = false;
  std::vector<std::string> events;

  int LiveObjects() const {
    return meshes_made - meshes_released + textures_made - textures_released + line_batches_made -
           line_batches_released;
  }
  void Note(const std::string& event) {
    if (keep_events) events.push_back(event);
  }
};

class RecordingPreviewFactory : public PreviewFactory {
 public:
  RecordingPreviewFactory() : tally_(std::make_shared<PreviewTally>()) {}

  std::unique_ptr<PreviewMesh> LoadMeshBytes(const uint8_t* data, size_t size,
                                             const std::u16string& source) override;
  std::unique_ptr<PreviewMesh> CopySphereMapped(const PreviewMesh& source) override;
  std::unique_ptr<PreviewTexture> CreateTexture(const uint8_t* png, size_t size) override;
  std::unique_ptr<PreviewLineBatch> CreateLineBatch(uint32_t capacity_lines) override;

  // Shared with the objects, so it stays valid whichever is released last.
  PreviewTally& tally() { return *tally_; }

 private:
  std::shared_ptr<PreviewTally> tally_;
};

// The factory a compiler without one of its own uses: a recording factory
// that keeps counts only.
PreviewFactory& DefaultPreviewFactory();
