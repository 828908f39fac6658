// The command table of the vehicle script language and its handlers.
#pragma once
#include <cstddef>
#include <cstdint>

#include "compiler/vehicle_compiler.h"

using CommandHandler = void (*)(VehicleCompiler& c, uint32_t code);

struct CommandRow {
  const char16_t* keyword;
  uint32_t code;
  CommandHandler handler;  // null: the unimplemented-command error
};

// The 99 rows, in table order.
const CommandRow* CommandTable(size_t* count);
// Finds the row for the line's command word and runs it.
void ExecuteLine(VehicleCompiler& c);

// Handlers, grouped by the file that implements them.
// commands_header.cpp
void CmdMarker(VehicleCompiler& c, uint32_t code);
void CmdEndSetting(VehicleCompiler& c, uint32_t code);
void CmdSection(VehicleCompiler& c, uint32_t code);
void CmdId(VehicleCompiler& c, uint32_t code);
void CmdType(VehicleCompiler& c, uint32_t code);
void CmdName(VehicleCompiler& c, uint32_t code);
void CmdShortName(VehicleCompiler& c, uint32_t code);
void CmdCopyright(VehicleCompiler& c, uint32_t code);
void CmdTypeNumber(VehicleCompiler& c, uint32_t code);
// commands_setting.cpp
void CmdTec(VehicleCompiler& c, uint32_t code);
void CmdBogie(VehicleCompiler& c, uint32_t code);
void CmdCoupler(VehicleCompiler& c, uint32_t code);
void CmdSpeed(VehicleCompiler& c, uint32_t code);
void CmdTilt(VehicleCompiler& c, uint32_t code);
void CmdCab(VehicleCompiler& c, uint32_t code);
void CmdDrivingWheel(VehicleCompiler& c, uint32_t code);
void CmdEmitter(VehicleCompiler& c, uint32_t code);
void CmdLight(VehicleCompiler& c, uint32_t code);
void CmdContainerPosition(VehicleCompiler& c, uint32_t code);
void CmdBodyReflection(VehicleCompiler& c, uint32_t code);
void CmdVehicleExtension(VehicleCompiler& c, uint32_t code);
void CmdGapInterval(VehicleCompiler& c, uint32_t code);
// commands_sound.cpp
void CmdLoadWave(VehicleCompiler& c, uint32_t code);
void CmdSound(VehicleCompiler& c, uint32_t code);
void CmdSideView(VehicleCompiler& c, uint32_t code);
// commands_options.cpp
void CmdOutputPath(VehicleCompiler& c, uint32_t code);
void CmdModelScale(VehicleCompiler& c, uint32_t code);
void CmdSmoothDeg(VehicleCompiler& c, uint32_t code);
void CmdUpperV(VehicleCompiler& c, uint32_t code);
void CmdChangeLR(VehicleCompiler& c, uint32_t code);
void CmdObjReadSmooth(VehicleCompiler& c, uint32_t code);
void CmdObjFlatReverse(VehicleCompiler& c, uint32_t code);
// commands_texture.cpp
void CmdTextureInfo(VehicleCompiler& c, uint32_t code);
void CmdTextureSign(VehicleCompiler& c, uint32_t code);
void CmdPngTexMain(VehicleCompiler& c, uint32_t code);
void CmdPngTexSign(VehicleCompiler& c, uint32_t code);
void AppendTextureBlock(VehicleCompiler& c);
// commands_container.cpp
void CmdContainerPart(VehicleCompiler& c, uint32_t code);
void CmdContainerText(VehicleCompiler& c, uint32_t code);
void CmdContainerNumber(VehicleCompiler& c, uint32_t code);
void CmdContainerLength(VehicleCompiler& c, uint32_t code);
void CmdContainerSavetime(VehicleCompiler& c, uint32_t code);
void CmdContainerSideview(VehicleCompiler& c, uint32_t code);
void CmdContainerModelBegin(VehicleCompiler& c, uint32_t code);
void CmdContainerModelEnd(VehicleCompiler& c, uint32_t code);
void CmdContainerObjMain(VehicleCompiler& c, uint32_t code);
void CmdNothing(VehicleCompiler& c, uint32_t code);
// commands_model.cpp
void CmdModel(VehicleCompiler& c, uint32_t code);
void CmdBodyModel(VehicleCompiler& c, uint32_t code);
void CmdHeadMarkModel(VehicleCompiler& c, uint32_t code);
void CmdLightModel(VehicleCompiler& c, uint32_t code);
void CmdContainerModel(VehicleCompiler& c, uint32_t code);
void CmdMainRenderParam(VehicleCompiler& c, uint32_t code);
// commands_model_options.cpp
void CmdOptionModel(VehicleCompiler& c, uint32_t code);
void CmdOptionKindModel(VehicleCompiler& c, uint32_t code);
void CmdOptionInit(VehicleCompiler& c, uint32_t code);
// commands_model_running.cpp
void CmdBogieFrameModel(VehicleCompiler& c, uint32_t code);
void CmdWheelModel(VehicleCompiler& c, uint32_t code);
void CmdBogieStructureFrame(VehicleCompiler& c, uint32_t code);
void CmdBogieStructureWheel(VehicleCompiler& c, uint32_t code);
void CmdDrivingWheelModel(VehicleCompiler& c, uint32_t code);
void CmdPantographModel(VehicleCompiler& c, uint32_t code);
void CmdPantographInit(VehicleCompiler& c, uint32_t code);
// compile.cpp
void CmdInclude(VehicleCompiler& c, uint32_t code);
