// The checks a project passes before Make data writes anything.
#pragma once
#include <cstdint>

#include "project/notifier.h"
#include "project/vehicle_project.h"

struct MainTextureSize {
  uint32_t width = 0;
  uint32_t height = 0;
};

// Stops at the first failed check and shows its message. On success `size`
// holds the main texture's width and height for the script's texture line.
uint32_t ValidateProject(const VehicleProject& p, Notifier& notifier, MainTextureSize* size);
