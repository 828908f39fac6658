// The project behind the menu's New, Open and Save, a dropped project file
// and closing the window: the current file path, and the changed flag that
// keeps unsaved edits from being lost without asking.
#pragma once
#include <functional>
#include <string>
#include <string_view>

#include "project/notifier.h"
#include "project/vehicle_project.h"

// The current file path holds at most this many characters.
inline constexpr size_t kCurrentPathLongest = 260;

inline constexpr char16_t kSaveChangesCaption[] = u"確認";
inline constexpr char16_t kSaveChangesMessage[] = u"車両設定が変更されています。\n保存しますか？";

enum class SaveChoice { kSave, kDiscard, kCancel };

// What the session asks the user.
class SessionUi : public Notifier {
 public:
  // Unsaved edits: save them first (Yes), drop them (No) or stop (Cancel)?
  virtual SaveChoice AskSaveChanges() = 0;
  // The save-file dialog, starting from `path`; true with the chosen path.
  virtual bool ChooseSavePath(std::u16string& path) = 0;
  // The open-file dialog; true with the chosen path.
  virtual bool ChooseOpenPath(std::u16string& path) = 0;
};

// A dropped name is a project file when its extension is ".xml" in any case.
bool IsProjectFileName(std::u16string_view path);

// Said when a dropped name is a folder, or a file other than a project
// file; the name follows on the next line.
inline constexpr char16_t kDroppedFolderMessage[] = u"フォルダーは開けません。車両設定ファイル(*.xml)をドロップしてください。\n";
inline constexpr char16_t kDroppedOtherFileMessage[] = u"車両設定ファイル(*.xml)ではありません。\n";

class ProjectSession {
 public:
  ProjectSession(VehicleProject& project, SessionUi& ui);

  // Called when another project replaces the current one: the preview
  // drops the vehicle compiled from the old one.
  void SetDiscardCompiled(std::function<void()> discard) { discard_compiled_ = std::move(discard); }

  // Each returns true when it went through, false when the user stopped it
  // or it failed (and then the project and the current file path are as
  // they were). New, Open, a drop and closing first settle unsaved edits.
  // The project's folder follows the file opened, dropped or saved; New
  // empties it.
  bool New();
  bool Open();
  // Writes to the project's own file when it has one; otherwise as SaveAs.
  bool Save();
  // Asks for the file, starting from the current path (or the name the
  // type number gives), and writes there.
  bool SaveAs();
  // Opens `path` without a file dialog (a recently used project).
  bool OpenPath(const std::u16string& path);
  // A dropped name that is no project file, or a folder, is reported.
  bool LoadDropped(std::u16string_view path);
  // Before the window closes: true when it may close.
  bool MayClose() { return SettleChanges(); }
  // The project's file was saved by another program: when nothing here is
  // unsaved, the project becomes the file's again, quietly (no message, the
  // compiled vehicle kept). True when it changed; a file that no longer
  // reads as a project changes nothing.
  bool TakeFileFromDisk();

  // The project differs from what was last saved, opened or made new.
  bool Changed() const;
  // The current state counts as saved (the start-up project, say).
  void MarkSaved();
  const std::u16string& CurrentPath() const { return current_path_; }
  // The current path names the file the project was opened from or saved
  // to (not only a proposed name).
  bool HasFile() const { return has_file_; }

 private:
  bool SettleChanges();
  bool Load(const std::u16string& path);

  VehicleProject& project_;
  SessionUi& ui_;
  std::function<void()> discard_compiled_;
  std::u16string current_path_;
  bool has_file_ = false;
  std::string saved_;  // the project file text of the saved state
};
