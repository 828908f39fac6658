// The data dialogs of the project's sections: which template, which
// controls hold which fields, and which buttons browse for which files.
#pragma once
#include <cstddef>

#include "dialogs/dialog_exchange.h"
#include "project/vehicle_project.h"

// What a browse button looks for.
enum class BrowseKind { kModel, kTexture, kTypeImage, kSound, kFolder };

struct BrowseButton {
  int button;
  int edit;  // receives the chosen path
  BrowseKind kind;
};

struct DataDialogLayout {
  int template_id;
  const char16_t* caption;
  // Moves the dialog's fields; `page` is the option set shown (0 elsewhere).
  void (*exchange)(DialogExchange& x, VehicleProject& p, int page);
  const BrowseButton* buttons;
  size_t button_count;
  int page_list;  // the list that picks the page, 0 when the dialog has none
};

// The dialogs of templates 122 to 130 and 140, in template order.
extern const DataDialogLayout kDataDialogs[];
extern const size_t kDataDialogCount;

// The dialog of a template, or null.
const DataDialogLayout* FindDataDialog(int template_id);
const BrowseButton* FindBrowseButton(const DataDialogLayout& layout, int button);
// The template a "データ(&D)" menu command opens as a data dialog, or 0.
int DataDialogOfCommand(int command);
