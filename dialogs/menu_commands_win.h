// The commands of the frame window's menu, a project file dropped on the
// window, and the question before the window closes.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "dialogs/project_session.h"
#include "project/vehicle_project.h"

// What the menu needs from the scene that owns the project and the preview.
class MenuHost {
 public:
  virtual ~MenuHost() = default;
  virtual VehicleProject& Project() = 0;
  // Another project takes the place of the current one: the preview drops
  // the vehicle compiled from the old one.
  virtual void DiscardCompiledVehicle() = 0;
  // The Make-data run on the current project.
  virtual void MakeData(HWND owner) = 0;
  // The environment dialog (workshop name).
  virtual void ShowEnvironment(HWND owner) = 0;
  // The recently used project files, most recent first, as kept between runs.
  virtual std::vector<std::u16string> ReadRecentProjects() = 0;
  virtual void WriteRecentProjects(const std::vector<std::u16string>& paths) = 0;
};

class MenuCommands {
 public:
  MenuCommands(HINSTANCE instance, MenuHost& host);
  ~MenuCommands();
  MenuCommands(const MenuCommands&) = delete;
  MenuCommands& operator=(const MenuCommands&) = delete;

  // A menu command; ids of no menu item (and Exit, which the frame turns
  // into closing the window) do nothing.
  void OnCommand(HWND window, int id);
  // A file dropped on the window; only project files are loaded.
  void LoadDroppedFile(HWND window, const wchar_t* path);
  // Before the window closes: unsaved edits are saved or dropped as the
  // user says; false keeps the window open.
  bool MayClose(HWND window);
  // The File menu is about to open: lists the recent projects that still
  // exist, above Exit.
  void ListRecentProjects(HMENU file_menu);
  // The window's caption names the project and marks unsaved changes; the
  // file last opened or saved heads the recent list, which the File menu
  // shows.
  void ShowProjectState(HWND window);

  ProjectSession& Session() { return *session_; }

 private:
  class Ui;
  void RunCommand(HWND window, int id);

  HINSTANCE instance_;
  MenuHost& host_;
  std::unique_ptr<Ui> ui_;
  std::unique_ptr<ProjectSession> session_;
  std::vector<std::u16string> listed_recent_;  // what the menu's recent items open
  std::u16string recorded_path_;               // the file last put at the head of the list
};
