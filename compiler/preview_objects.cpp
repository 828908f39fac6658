#include "compiler/preview_objects.h"

#include "compiler/model_conversion.h"

void AttachGuideLines(VehicleCompiler& c) {
  c.preview.guide_lines.reset();
  c.preview.guide_lines = ActivePreviewFactory(c).CreateLineBatch(kGuideLineCapacity);
}
