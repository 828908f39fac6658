#include "dialogs/container_dialogs.h"

#include "dialogs/dialog_exchange.h"
#include "dialogs/dialog_lists.h"
#include "dialogs/dialog_messages.h"
#include "dialogs/dialog_numbers.h"
#include "res/dialog_ids.h"

namespace {

constexpr FloatFormat kSlotFormat{5, 2};  // "%5.2f"

// The slot dialog's fields, moved through a scratch slot.
void ExchangeSlot(DialogExchange& x, ContainerSlot& slot) {
  x.Choice(IDC_CONTAINER_TYPE, ContainerTypeChoices(), slot.type);
  x.Float(IDC_CONTAINER_X, slot.posx, kSlotFormat, u"コンテナ位置 x");
  x.Float(IDC_CONTAINER_Y, slot.posy, kSlotFormat, u"コンテナ位置 y");
  x.Float(IDC_CONTAINER_Z, slot.posz, kSlotFormat, u"コンテナ位置 z");
}

}  // namespace

ContainerRow ContainerRowOf(const VehicleProject& p, int slot) {
  const ContainerSlot& s = p.container[slot];
  ContainerRow row{slot, {}};
  const char16_t* name = FindValueName(ContainerTypeTable, s.type);
  // A type from an old file that the table lacks shows as its number.
  row.cells[0] = name ? std::u16string(name) : FormatDialogInt(s.type);
  row.cells[1] = FormatDialogFloat(s.posx, kSlotFormat.width, kSlotFormat.decimals);
  row.cells[2] = FormatDialogFloat(s.posy, kSlotFormat.width, kSlotFormat.decimals);
  row.cells[3] = FormatDialogFloat(s.posz, kSlotFormat.width, kSlotFormat.decimals);
  return row;
}

std::vector<ContainerRow> ContainerRows(const VehicleProject& p) {
  std::vector<ContainerRow> rows;
  for (int slot = 0; slot < kContainerCount; ++slot)
    if (p.container[slot].type != 0) rows.push_back(ContainerRowOf(p, slot));
  return rows;
}

ContainerListSession::ContainerListSession(VehicleProject& project, Notifier& notifier)
    : project_(project), notifier_(notifier), working_(std::make_unique<VehicleProject>(project)) {
  SortContainers(*working_);
}

int ContainerListSession::Add() {
  const int slot = AddContainer(*working_);
  if (slot < 0) notifier_.ShowError(kCheckCaption, kContainersFullMessage);
  return slot;
}

void ContainerListSession::DropNew(int slot) {
  if (slot >= 0 && slot < kContainerCount) working_->container[slot].type = 0;
}

ContainerSlotSession::ContainerSlotSession(VehicleProject& working, int slot, DialogControls& controls,
                                           Notifier& notifier)
    : working_(working), slot_(slot), controls_(controls), notifier_(notifier) {}

void ContainerSlotSession::Show() {
  ContainerSlot slot = working_.container[slot_];
  DialogExchange x(controls_, ExchangeDirection::kShow);
  ExchangeSlot(x, slot);
}

bool ContainerSlotSession::Ok() {
  ContainerSlot slot = working_.container[slot_];
  DialogExchange x(controls_, ExchangeDirection::kRead);
  ExchangeSlot(x, slot);
  if (x.Failed()) {
    notifier_.ShowError(kCheckCaption, x.ProblemMessage());
    controls_.Focus(x.ProblemControl());
    return false;
  }
  SetContainer(working_, slot_, slot.type, slot.posx, slot.posy, slot.posz);
  return true;
}
