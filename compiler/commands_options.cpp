// Commands that only set state for the lines after them.
#include "compiler/commands.h"
#include "compiler/tokens.h"

void CmdOutputPath(VehicleCompiler& c, uint32_t) { c.output_subpath = TokenText(c, 1, 259); }
void CmdModelScale(VehicleCompiler& c, uint32_t) { c.model_scale = TokenFloat(c, 1); }
void CmdSmoothDeg(VehicleCompiler& c, uint32_t) { c.smoothing_degrees = TokenFloat(c, 1); }
void CmdUpperV(VehicleCompiler& c, uint32_t) { c.model_options.flip_v = TokenInt(c, 1) != 0; }
void CmdChangeLR(VehicleCompiler& c, uint32_t) { c.model_options.mirror_z = TokenInt(c, 1) != 0; }
void CmdObjReadSmooth(VehicleCompiler&, uint32_t) {}
void CmdObjFlatReverse(VehicleCompiler& c, uint32_t) { c.model_options.invert_normals = true; }
void CmdNothing(VehicleCompiler&, uint32_t) {}
