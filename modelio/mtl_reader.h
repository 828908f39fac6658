// A caller's stand-in in front of ReadMtlFile: the models of one compilation
// name the same few material libraries, and the stand-in may answer a read
// from what an earlier read of the same library left in a model.
#pragma once
#include <string>

#include "modelio/obj_model.h"

// The reader itself, without any stand-in.
using MtlReadFunction = ObjResult (*)(ObjModel& model, const std::u16string& mtl_path);

class MtlReadHook {
 public:
  // Does what ReadMtlFile(model, mtl_path) does to `model` and returns what
  // it returns: through `read`, or from what it kept of an earlier read.
  virtual ObjResult ReadMtl(ObjModel& model, const std::u16string& mtl_path, MtlReadFunction read) = 0;

 protected:
  ~MtlReadHook() = default;
};

// Puts `hook` in front of every ReadMtlFile of this thread (null: none) and
// returns the one it replaces.
MtlReadHook* SetMtlReadHook(MtlReadHook* hook);
