// The one vehicle the user is authoring: a plain record of fixed-capacity
// texts, numbers and fixed arrays, so it can be copied and reset whole.
// Fields carry the names of their keys in the project file, except where a
// key says little about what it holds; those fields name the key beside them.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "project/fixed_text.h"

constexpr int kTireCount = 2;
constexpr int kTruckCount = 3;
constexpr int kMountsPerTruck = 4;
constexpr int kHeadMarkCount = 4;
constexpr int kOptionCount = 4;
constexpr int kPantographCount = 4;
constexpr int kCabCount = 2;
constexpr int kContainerCount = 16;

struct TireEntry {
  PathText modelTire;  // an entry without a model is not used
  float TireRadius = 0;
};

struct TireMount {
  int32_t tireID = 0;  // 0 empty, 1 or 2 the wheel entry
  float tirePOSX = 0;
  float tirePOSY = 0;
};

struct TruckEntry {
  int32_t type = 0;  // 0 no bogie, else an id of the bogie-type table
  float pos = 0;
  PathText model;
  TireMount tirein[kMountsPerTruck];
};

struct OptionSet {
  int32_t start = 0;
  PathText modelA, modelB, modelI, modelH, modelM, modelSA, modelSB;
  PathText modelLH0, modelLT0, modelLH1, modelLT1, modelIRE;
};

struct PantographEntry {
  int32_t startdown = 0;
  PathText modelDOWN, modelUP;  // used only when both are set
};

struct CabEntry {
  int32_t active = 0;
  float posx = 0, posy = 0, posz = 0;
};

struct ContainerSlot {
  int32_t type = 0;  // 0 empty, else an id of the container-type table
  float posx = 0, posy = 0, posz = 0;
};

struct VehicleProject {
  FixedText<64> maker;  // workshop name; not in the project file, kept by reset
  // The folder the project's relative paths resolve against: the project
  // file's folder, with its trailing separator; empty for a project that was
  // never saved or opened. Not in the project file; kept by reset.
  std::u16string folder;

  // "infohead"
  PathText outpath;
  FixedText<64> name;
  FixedText<32> sname;
  FixedText<64> guide;
  FixedText<64> series;
  int32_t category = 32;
  int32_t speed = 120;
  int32_t tilt_angle = 0;  // key "huriko"; 0 means no tilting
  int32_t fixhuriko = 0;
  float zoom = 1.0f;
  int32_t teczoom = 0;
  float link0 = 0, link1 = 0;
  // key "downv": 1 when the models' texture V runs upward, as in OBJ files,
  // so the compiler turns it over
  int32_t texture_v_up = 1;
  int32_t changelr = 0;
  int32_t obj_smoothing = 0;  // key "objsmt": take smoothing from the OBJ "s" lines
  int32_t objflatrev = 0;

  // "body"
  PathText maintex, sideview, subtex;
  PathText modelA1, modelA2, modelB1, modelB2, modelH, modelI;

  TireEntry tire[kTireCount];
  TruckEntry truck[kTruckCount];

  // "submodel"
  PathText modelM, modelSA, modelSB;
  PathText modelHM[kHeadMarkCount];

  // "lightset"
  PathText modelLH0, modelLT0, modelLH1, modelLT1, modelIRE;

  OptionSet optionset[kOptionCount];
  PantographEntry pantograph[kPantographCount];

  // "waveset"; `brake` is the key "break"
  PathText whistle, brake, motor1, motor2, gap1, gap2, idle, vvvf, comp, power;

  CabEntry untendai[kCabCount];  // [0] section "untendai1" (-x end), [1] "untendai2"
  ContainerSlot container[kContainerCount];
};

// Every field to its value after reset; `maker` and `folder` stay.
void ResetProject(VehicleProject& p);

// A path field of the project as a file name to open: absolute paths as they
// stand, relative ones joined to the project's folder. Empty stays empty.
std::u16string ProjectPath(const VehicleProject& p, std::u16string_view path);

// Stores the folder (cut to the field) without its trailing separator.
void SetOutPath(VehicleProject& p, std::u16string_view path);

// The first empty container slot becomes type 1 at 0, 0, 0; its index, or
// -1 when all sixteen are in use.
int AddContainer(VehicleProject& p);
// The slot's values for an index of 0 to 15; false for any other index.
bool GetContainer(const VehicleProject& p, int index, ContainerSlot& out);
// Stores type and position (clamped to the slot's ranges); any index
// outside 0 to 15 is ignored.
void SetContainer(VehicleProject& p, int index, int32_t type, float x, float y, float z);
// Stable order by type, empty slots first.
void SortContainers(VehicleProject& p);
