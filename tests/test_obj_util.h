// Shared set-up of the model reader and mesh file tests: a scratch folder of
// OBJ, MTL and image files, a model, and its messages.
#pragma once
#include <cstdint>
#include <string>

#include "modelio/obj_model.h"

struct ObjFolder {
  std::u16string dir;
  ObjModelPtr model;
  std::u16string messages;

  ObjFolder();
  // Writes a file (bytes as given) under the folder; `name` is UTF-8.
  void File(const std::string& name, const std::string& bytes) const;
  std::u16string Path(const std::string& name) const;
  // Reads `name` from the folder into the model as it stands (options set
  // by the test are kept).
  ObjResult Read(const std::string& name = "m.obj");
  std::string Messages() const;
};

// Image headers as the files begin, with the given size fields.
std::string PngBytes(uint32_t width, uint32_t height);
std::string BmpBytes(int32_t width, int32_t height);
// A TIM file of mode `flags` with its image block right after the flags.
std::string TimBytes(uint32_t flags, uint16_t x, uint16_t y, uint16_t stored_width, uint16_t height);
