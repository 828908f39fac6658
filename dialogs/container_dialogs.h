// The container places: the list of used slots (template 143) and the
// dialog of one slot (template 144). Both work on the list dialog's working
// copy of the project, which OK of the list writes back.
#pragma once
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/dialog_controls.h"
#include "project/notifier.h"
#include "project/vehicle_project.h"

// One row of the list: the slot it shows (the row's item data) and its
// cells under "種類", "x", "y", "z".
struct ContainerRow {
  int slot;
  std::array<std::u16string, 4> cells;
};

ContainerRow ContainerRowOf(const VehicleProject& p, int slot);
// A row per used slot, in slot order.
std::vector<ContainerRow> ContainerRows(const VehicleProject& p);

class ContainerListSession {
 public:
  ContainerListSession(VehicleProject& project, Notifier& notifier);
  // The working copy, its slots sorted by type as the list opens.
  VehicleProject& Working() { return *working_; }
  // A new slot (type 1 at the origin) for the slot dialog, or -1 after the
  // sixteen-places message.
  int Add();
  // The slot dialog of a new slot was cancelled: the slot is empty again.
  void DropNew(int slot);
  // OK: the project receives the working copy.
  void Commit() { project_ = *working_; }

 private:
  VehicleProject& project_;
  Notifier& notifier_;
  std::unique_ptr<VehicleProject> working_;
};

class ContainerSlotSession {
 public:
  ContainerSlotSession(VehicleProject& working, int slot, DialogControls& controls, Notifier& notifier);
  void Show();
  // Writes type and position (clamped to the slot's ranges; "[削除]" empties
  // the slot) when all three numbers read; otherwise a message and false.
  bool Ok();

 private:
  VehicleProject& working_;
  int slot_;
  DialogControls& controls_;
  Notifier& notifier_;
};
