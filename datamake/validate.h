// The checks a project passes before Make data writes anything.
#pragma once
#include <cstdint>
#include <functional>

#include "project/notifier.h"
#include "project/vehicle_project.h"

struct MainTextureSize {
  uint32_t width = 0;
  uint32_t height = 0;
};

// Stops at the first failed check and shows its message. On success `size`
// holds the main texture's width and height for the script's texture line.
bool ValidateProject(const VehicleProject& p, Notifier& notifier, MainTextureSize* size);

// Every check, not only up to the first failure: each failure goes to
// `fail` with the field's key and the message. Returns how many failed.
int ValidateProjectAll(const VehicleProject& p, MainTextureSize* size,
                       const std::function<void(const char16_t* field, const char16_t* message)>& fail);
