// Preview objects that the Make-data run hands to the compiler.
#pragma once
#include "compiler/vehicle_compiler.h"

// Gives the compiler its guide-line batch (room for kGuideLineCapacity
// lines), made by its factory; an earlier batch is released first.
void AttachGuideLines(VehicleCompiler& c);
