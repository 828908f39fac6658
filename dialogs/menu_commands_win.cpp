#include "dialogs/menu_commands_win.h"

#include "dialogs/data_dialog_win.h"
#include "dialogs/data_dialogs.h"
#include "dialogs/dialog_window_win.h"
#include "dialogs/file_choosers_win.h"
#include "res/resource.h"

// The session's questions as message boxes and file dialogs, owned by the
// window the command came from.
class MenuCommands::Ui : public SessionUi {
 public:
  void SetOwner(HWND owner) { owner_ = owner; }
  void ShowError(const std::u16string& caption, const std::u16string& message) override {
    MessageBoxNotifier(owner_).ShowError(caption, message);
  }
  SaveChoice AskSaveChanges() override {
    const int answer = MessageBoxW(owner_, WideText(kSaveChangesMessage), WideText(kSaveChangesCaption),
                                   MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDYES) return SaveChoice::kSave;
    if (answer == IDNO) return SaveChoice::kDiscard;
    return SaveChoice::kCancel;
  }
  bool ChooseSavePath(std::u16string& path) override { return ChooseProjectToSave(owner_, path); }
  bool ChooseOpenPath(std::u16string& path) override { return ChooseProjectToOpen(owner_, path); }

 private:
  HWND owner_ = nullptr;
};

MenuCommands::MenuCommands(HINSTANCE instance, MenuHost& host)
    : instance_(instance),
      host_(host),
      ui_(std::make_unique<Ui>()),
      session_(std::make_unique<ProjectSession>(host.Project(), *ui_)) {
  session_->SetDiscardCompiled([this] { host_.DiscardCompiledVehicle(); });
}

MenuCommands::~MenuCommands() = default;

void MenuCommands::OnCommand(HWND window, int id) {
  ui_->SetOwner(window);
  switch (id) {
    case IDM_FILE_NEW:
      session_->New();
      return;
    case IDM_FILE_OPEN:
      session_->Open();
      return;
    case IDM_FILE_SAVE:
      session_->Save();
      return;
    case IDM_MAKE_DATA:
      host_.MakeData(window);
      return;
    case IDM_ENVIRONMENT:
      host_.ShowEnvironment(window);
      return;
    case IDM_DATA_CONTAINER:
      OpenContainerDialog(instance_, window, host_.Project());
      return;
    case IDM_ABOUT:
      ShowAboutDialog(instance_, window);
      return;
    default:
      if (const int template_id = DataDialogOfCommand(id))
        OpenDataDialog(instance_, window, template_id, host_.Project());
      return;
  }
}

void MenuCommands::LoadDroppedFile(HWND window, const wchar_t* path) {
  ui_->SetOwner(window);
  session_->LoadDropped(FromWide(path));
}

bool MenuCommands::MayClose(HWND window) {
  ui_->SetOwner(window);
  return session_->MayClose();
}
