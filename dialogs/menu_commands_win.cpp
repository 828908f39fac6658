#include "dialogs/menu_commands_win.h"

#include "dialogs/data_dialog_win.h"
#include "dialogs/data_dialogs.h"
#include "dialogs/dialog_window_win.h"
#include "dialogs/file_choosers_win.h"
#include "dialogs/recent_projects.h"
#include "dialogs/window_title.h"
#include "platform/fs.h"
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
  if (id >= IDM_RECENT_FIRST && id < IDM_RECENT_FIRST + static_cast<int>(kRecentProjectsKept)) {
    const size_t index = static_cast<size_t>(id - IDM_RECENT_FIRST);
    if (index < listed_recent_.size()) session_->OpenPath(listed_recent_[index]);
    ShowProjectState(window);
    return;
  }
  RunCommand(window, id);
  ShowProjectState(window);
}

void MenuCommands::RunCommand(HWND window, int id) {
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
    case IDM_FILE_SAVE_AS:
      session_->SaveAs();
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
  ShowProjectState(window);
}

void MenuCommands::ShowProjectState(HWND window) {
  const std::u16string title =
      MainWindowTitle(session_->CurrentPath(), session_->HasFile(), session_->Changed());
  SetWindowTextW(window, WideText(title));
  if (session_->HasFile() && session_->CurrentPath() != recorded_path_) {
    recorded_path_ = session_->CurrentPath();
    host_.WriteRecentProjects(WithRecentProject(host_.ReadRecentProjects(), recorded_path_));
  }
  // Listed now too, so the keys and commands of the recent items work before
  // the menu is first opened.
  if (HMENU bar = GetMenu(window)) ListRecentProjects(GetSubMenu(bar, 0));
}

void MenuCommands::ListRecentProjects(HMENU file_menu) {
  // The list of the last opening goes, with the separator below it.
  const bool had_list = !listed_recent_.empty();
  for (UINT i = 0; i < kRecentProjectsKept; ++i) DeleteMenu(file_menu, IDM_RECENT_FIRST + i, MF_BYCOMMAND);
  int exit_position = -1;
  for (int i = 0; i < GetMenuItemCount(file_menu); ++i)
    if (GetMenuItemID(file_menu, i) == IDM_EXIT) exit_position = i;
  if (exit_position < 0) return;
  if (had_list && exit_position > 0) DeleteMenu(file_menu, static_cast<UINT>(--exit_position), MF_BYPOSITION);
  listed_recent_.clear();
  for (const std::u16string& path : host_.ReadRecentProjects())
    if (listed_recent_.size() < kRecentProjectsKept && FsFileExists(path)) listed_recent_.push_back(path);
  if (listed_recent_.empty()) return;
  UINT position = static_cast<UINT>(exit_position);
  for (size_t i = 0; i < listed_recent_.size(); ++i) {
    InsertMenuW(file_menu, position++, MF_BYPOSITION | MF_STRING, IDM_RECENT_FIRST + i,
                WideText(RecentProjectLabel(i, listed_recent_[i])));
  }
  InsertMenuW(file_menu, position, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
}

bool MenuCommands::MayClose(HWND window) {
  ui_->SetOwner(window);
  return session_->MayClose();
}
