#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <iterator>
#include <memory>

#include "dialogs/project_session.h"
#include "dialogs/recent_projects.h"
#include "dialogs/window_title.h"
#include "platform/fs.h"
#include "project/project_file.h"
#include "tests/test_project_helpers.h"
#include "tests/test_util.h"

namespace {

using testing_project::TempFolder;

// The user's answers, given in advance; every question is recorded.
struct ScriptedUi : SessionUi {
  std::deque<SaveChoice> answers;
  std::deque<std::u16string> save_paths;  // empty text: the user cancels
  std::deque<std::u16string> open_paths;
  std::vector<std::u16string> errors;
  std::vector<std::u16string> proposals;
  int asked = 0;

  void ShowError(const std::u16string&, const std::u16string& message) override { errors.push_back(message); }
  SaveChoice AskSaveChanges() override {
    ++asked;
    SaveChoice c = answers.empty() ? SaveChoice::kCancel : answers.front();
    if (!answers.empty()) answers.pop_front();
    return c;
  }
  bool ChooseSavePath(std::u16string& path) override {
    proposals.push_back(path);
    if (save_paths.empty() || save_paths.front().empty()) {
      if (!save_paths.empty()) save_paths.pop_front();
      return false;
    }
    path = save_paths.front();
    save_paths.pop_front();
    return true;
  }
  bool ChooseOpenPath(std::u16string& path) override {
    if (open_paths.empty()) return false;
    path = open_paths.front();
    open_paths.pop_front();
    return !path.empty();
  }
};

struct Fixture {
  Fixture() : project(std::make_unique<VehicleProject>()) {
    ResetProject(*project);
    project->maker.Set(u"工房");
    session = std::make_unique<ProjectSession>(*project, ui);
    session->SetDiscardCompiled([this] { ++discarded; });
  }
  std::unique_ptr<VehicleProject> project;
  ScriptedUi ui;
  std::unique_ptr<ProjectSession> session;
  int discarded = 0;
};

TEST(ProjectSession, DroppedNamesAreProjectFilesByExtension) {
  EXPECT_TRUE(IsProjectFileName(u"C:\\a\\b.xml"));
  EXPECT_TRUE(IsProjectFileName(u"C:\\a\\B.XML"));
  EXPECT_TRUE(IsProjectFileName(u"x.Xml"));
  EXPECT_FALSE(IsProjectFileName(u"C:\\a\\model.obj"));
  EXPECT_FALSE(IsProjectFileName(u"C:\\a.xml\\file"));
  EXPECT_FALSE(IsProjectFileName(u"C:\\a\\b.xmlx"));
  EXPECT_FALSE(IsProjectFileName(u"xml"));
}

TEST(ProjectSession, SaveProposesNameAndClearsTheChangedFlag) {
  TempFolder dir;
  Fixture f;
  EXPECT_FALSE(f.session->Changed());
  // Without a type number nothing is asked and nothing written.
  f.project->speed = 99;
  EXPECT_TRUE(f.session->Changed());
  EXPECT_FALSE(f.session->Save());
  ASSERT_EQ(f.ui.errors.size(), 1u);
  EXPECT_EQ(f.ui.errors[0], u"形式番号が空欄です。\n形式番号は識別のため入力が必要です。");
  EXPECT_TRUE(f.ui.proposals.empty());

  // A cancelled dialog keeps the proposal as the current file path.
  f.project->name.Set(u"EF/65");
  f.ui.save_paths = {u""};
  EXPECT_FALSE(f.session->Save());
  EXPECT_EQ(f.ui.proposals.back(), u"EF_65");
  EXPECT_EQ(f.session->CurrentPath(), u"EF_65");
  EXPECT_TRUE(f.session->Changed());

  const std::u16string path = dir / u"ef65.xml";
  f.ui.save_paths = {path};
  EXPECT_TRUE(f.session->Save());
  EXPECT_EQ(f.ui.proposals.back(), u"EF_65");
  EXPECT_EQ(f.session->CurrentPath(), path);
  EXPECT_FALSE(f.session->Changed());
  auto back = std::make_unique<VehicleProject>();
  ASSERT_TRUE(ReadProjectFile(*back, path));
  EXPECT_EQ(back->speed, 99);
}

TEST(ProjectSession, NewAsksFirstAndCancelKeepsEverything) {
  TempFolder dir;
  Fixture f;
  f.project->name.Set(u"KiHa");
  f.ui.save_paths = {dir / u"kiha.xml"};
  ASSERT_TRUE(f.session->Save());
  f.project->speed = 80;  // an unsaved edit

  f.ui.answers = {SaveChoice::kCancel};
  EXPECT_FALSE(f.session->New());
  EXPECT_EQ(f.ui.asked, 1);
  EXPECT_EQ(f.project->speed, 80);
  EXPECT_EQ(f.session->CurrentPath(), dir / u"kiha.xml");
  EXPECT_EQ(f.discarded, 0);

  // Yes saves to the project's file, without a dialog: then the new project.
  f.ui.answers = {SaveChoice::kSave};
  EXPECT_TRUE(f.session->New());
  EXPECT_EQ(f.ui.proposals.size(), 1u);
  EXPECT_EQ(f.project->speed, 120);
  EXPECT_TRUE(f.project->name.empty());
  EXPECT_EQ(f.project->maker.str(), u"工房");
  EXPECT_TRUE(f.session->CurrentPath().empty());
  EXPECT_EQ(f.discarded, 1);
  auto back = std::make_unique<VehicleProject>();
  ASSERT_TRUE(ReadProjectFile(*back, dir / u"kiha.xml"));
  EXPECT_EQ(back->speed, 80);

  // Unchanged: New asks nothing.
  const int asked = f.ui.asked;
  EXPECT_TRUE(f.session->New());
  EXPECT_EQ(f.ui.asked, asked);

  // A project without a file: Yes, but the save dialog is cancelled, and
  // nothing happens.
  f.project->name.Set(u"KiHa2");
  f.ui.answers = {SaveChoice::kSave};
  f.ui.save_paths = {u""};
  EXPECT_FALSE(f.session->New());
  EXPECT_EQ(f.project->name.str(), u"KiHa2");
}

TEST(ProjectSession, OpenOfABadFileLeavesProjectAndPathUntouched) {
  TempFolder dir;
  Fixture f;
  f.project->name.Set(u"EF65");
  f.ui.save_paths = {dir / u"ef65.xml"};
  ASSERT_TRUE(f.session->Save());
  f.project->speed = 77;

  const std::u16string not_project = dir.WriteText(u"notes.xml", "just some words\r\n");
  f.ui.answers = {SaveChoice::kDiscard};
  f.ui.open_paths = {not_project};
  EXPECT_FALSE(f.session->Open());
  ASSERT_EQ(f.ui.errors.size(), 1u);
  EXPECT_NE(f.ui.errors[0].find(not_project), std::u16string::npos);
  EXPECT_EQ(f.project->speed, 77);
  EXPECT_EQ(f.project->name.str(), u"EF65");
  EXPECT_EQ(f.session->CurrentPath(), dir / u"ef65.xml");
  EXPECT_EQ(f.discarded, 0);

  f.ui.answers = {SaveChoice::kDiscard};
  f.ui.open_paths = {dir / u"missing.xml"};
  EXPECT_FALSE(f.session->Open());
  EXPECT_EQ(f.ui.errors.size(), 2u);
  EXPECT_EQ(f.project->speed, 77);
  EXPECT_EQ(f.session->CurrentPath(), dir / u"ef65.xml");

  // A good file: the old edit is dropped (No), the file's values are in.
  f.ui.answers = {SaveChoice::kDiscard};
  f.ui.open_paths = {dir / u"ef65.xml"};
  EXPECT_TRUE(f.session->Open());
  EXPECT_EQ(f.project->speed, 120);
  EXPECT_EQ(f.discarded, 1);
  EXPECT_FALSE(f.session->Changed());
  EXPECT_EQ(f.project->maker.str(), u"工房");
}

TEST(ProjectSession, DroppedFilesAndClosing) {
  TempFolder dir;
  Fixture f;
  f.project->name.Set(u"Drop");
  f.project->speed = 130;
  const std::u16string path = dir / u"drop.xml";
  ASSERT_TRUE(WriteProjectFile(*f.project, path));
  ResetProject(*f.project);
  f.session->MarkSaved();

  // Other files and folders are reported, with no question.
  EXPECT_FALSE(f.session->LoadDropped(dir / u"model.obj"));
  ASSERT_EQ(f.ui.errors.size(), 1u);
  EXPECT_EQ(f.ui.errors[0], u"車両設定ファイル(*.xml)ではありません。\n" + (dir / u"model.obj"));
  ASSERT_TRUE(FsCreateDirectory(dir / u"folder.xml"));
  EXPECT_FALSE(f.session->LoadDropped(dir / u"folder.xml"));
  ASSERT_EQ(f.ui.errors.size(), 2u);
  EXPECT_EQ(f.ui.errors[1], u"フォルダーは開けません。車両設定ファイル(*.xml)をドロップしてください。\n" +
                                (dir / u"folder.xml"));
  // A name longer than the current file path can hold is refused.
  const std::u16string long_name = dir.path() + std::u16string(300, u'n') + u".xml";
  EXPECT_FALSE(f.session->LoadDropped(long_name));
  ASSERT_EQ(f.ui.errors.size(), 3u);
  EXPECT_EQ(f.ui.errors[2],
            u"ドロップしたファイル：パスが長すぎます。\n260文字以内のパスを指定してください。");
  EXPECT_EQ(f.ui.asked, 0);

  // Upper-case extension, unchanged project: loaded at once.
  const std::u16string upper = dir / u"DROP2.XML";
  auto other = std::make_unique<VehicleProject>();
  ResetProject(*other);
  other->speed = 140;
  ASSERT_TRUE(WriteProjectFile(*other, upper));
  EXPECT_TRUE(f.session->LoadDropped(upper));
  EXPECT_EQ(f.project->speed, 140);
  EXPECT_EQ(f.session->CurrentPath(), upper);
  EXPECT_EQ(f.discarded, 1);

  // An edit, then a drop answered Cancel: nothing changes.
  f.project->speed = 1;
  f.ui.answers = {SaveChoice::kCancel};
  EXPECT_FALSE(f.session->LoadDropped(path));
  EXPECT_EQ(f.project->speed, 1);
  EXPECT_EQ(f.session->CurrentPath(), upper);

  // A dropped file that is no project: told, and nothing changes.
  const std::u16string notes = dir.WriteText(u"notes.xml", "plain words");
  f.ui.answers = {SaveChoice::kDiscard};
  EXPECT_FALSE(f.session->LoadDropped(notes));
  EXPECT_NE(f.ui.errors.back().find(u"車両設定ファイルではありません。"), std::u16string::npos);
  EXPECT_EQ(f.project->speed, 1);
  EXPECT_EQ(f.session->CurrentPath(), upper);
  EXPECT_EQ(f.discarded, 1);

  // Closing with the edit: Cancel keeps the window, No lets it close.
  f.ui.answers = {SaveChoice::kCancel, SaveChoice::kDiscard};
  EXPECT_FALSE(f.session->MayClose());
  EXPECT_TRUE(f.session->MayClose());
  // Yes saves to the current file first, without asking for a name.
  f.ui.answers = {SaveChoice::kSave};
  EXPECT_TRUE(f.session->MayClose());
  EXPECT_TRUE(f.ui.proposals.empty());
  auto back = std::make_unique<VehicleProject>();
  ASSERT_TRUE(ReadProjectFile(*back, upper));
  EXPECT_EQ(back->speed, 1);
}

// Save writes to the project's own file once it has one; SaveAs always
// asks, from the current file; New forgets the file.
TEST(ProjectSession, SaveKeepsToItsFileAndSaveAsAsks) {
  TempFolder dir;
  Fixture f;
  f.project->name.Set(u"EF65");
  f.ui.save_paths = {dir / u"a.xml"};
  ASSERT_TRUE(f.session->Save());
  EXPECT_TRUE(f.session->HasFile());
  f.project->speed = 95;
  EXPECT_TRUE(f.session->Save());
  EXPECT_EQ(f.ui.proposals.size(), 1u);
  auto back = std::make_unique<VehicleProject>();
  ASSERT_TRUE(ReadProjectFile(*back, dir / u"a.xml"));
  EXPECT_EQ(back->speed, 95);

  f.ui.save_paths = {dir / u"b.xml"};
  EXPECT_TRUE(f.session->SaveAs());
  EXPECT_EQ(f.ui.proposals.back(), dir / u"a.xml");
  EXPECT_EQ(f.session->CurrentPath(), dir / u"b.xml");
  EXPECT_TRUE(f.session->New());
  EXPECT_FALSE(f.session->HasFile());
  f.project->name.Set(u"EF66");
  f.ui.save_paths = {u""};
  EXPECT_FALSE(f.session->Save());
  EXPECT_EQ(f.ui.proposals.back(), u"EF66");
  EXPECT_FALSE(f.session->HasFile());
  // A recent project opens by its path, no dialog.
  f.ui.answers = {SaveChoice::kDiscard};
  EXPECT_TRUE(f.session->OpenPath(dir / u"a.xml"));
  EXPECT_EQ(f.project->speed, 95);
  EXPECT_TRUE(f.session->HasFile());

  // Saved by another editor: taken while nothing here is unsaved, never over
  // an edit, and not from a file that is no project.
  back->speed = 80;
  ASSERT_TRUE(WriteProjectFile(*back, dir / u"a.xml"));
  EXPECT_TRUE(f.session->TakeFileFromDisk());
  EXPECT_EQ(f.project->speed, 80);
  EXPECT_FALSE(f.session->Changed());
  EXPECT_FALSE(f.session->TakeFileFromDisk());
  back->speed = 70;
  ASSERT_TRUE(WriteProjectFile(*back, dir / u"a.xml"));
  f.project->speed = 60;
  EXPECT_FALSE(f.session->TakeFileFromDisk());
  EXPECT_EQ(f.project->speed, 60);
  f.session->MarkSaved();
  WriteTestFile(dir / u"a.xml", "not a project");
  EXPECT_FALSE(f.session->TakeFileFromDisk());
  EXPECT_EQ(f.project->speed, 60);
}

TEST(ProjectSession, MainWindowTitleAndRecentList) {
  struct TitleCase {
    const char16_t* path;
    bool has_file, changed;
    const char16_t* title;
  };
  const TitleCase titles[] = {
      {u"", false, false, u"無題 - ZEK RAILWICK"},
      {u"EF_65", false, true, u"* 無題 - ZEK RAILWICK"},  // a proposed name is no file yet
      {u"C:\\v\\rw101.xml", true, false, u"rw101.xml - ZEK RAILWICK"},
      {u"C:\\v\\rw101.xml", true, true, u"* rw101.xml - ZEK RAILWICK"},
  };
  for (const TitleCase& c : titles)
    EXPECT_EQ(MainWindowTitle(c.path, c.has_file, c.changed), c.title) << U8(c.path);

  std::vector<std::u16string> list;
  for (int i = 1; i <= 9; ++i) list = WithRecentProject(list, u"C:\\p" + std::u16string(1, u'0' + i) + u".xml");
  ASSERT_EQ(list.size(), 8u);  // the oldest, p1, fell off
  EXPECT_EQ(list.front(), u"C:\\p9.xml");
  EXPECT_EQ(list.back(), u"C:\\p2.xml");
  list = WithRecentProject(list, u"c:/P5.XML");  // the same file: moved up, not doubled
  ASSERT_EQ(list.size(), 8u);
  EXPECT_EQ(list[0], u"c:/P5.XML");
  EXPECT_EQ(list[1], u"C:\\p9.xml");
  EXPECT_EQ(std::count(list.begin(), list.end(), u"C:\\p5.xml"), 0);
  EXPECT_EQ(RecentProjectLabel(0, u"C:\\A&B\\x.xml"), u"&1 C:\\A&&B\\x.xml");
  EXPECT_EQ(RecentProjectLabel(7, u"y.xml"), u"&8 y.xml");
}

// The folder the project's relative paths resolve against follows the file
// it was opened from, dropped as or saved to; New and a failed open.
TEST(ProjectSession, TheProjectFolderIsThatOfItsFile) {
  TempFolder dir;
  Fixture f;
  ASSERT_TRUE(FsCreateDirectory(dir / u"a") && FsCreateDirectory(dir / u"b"));
  const std::u16string a = dir / u"a" + FsSeparator(), b = dir / u"b" + FsSeparator();
  auto saved = std::make_unique<VehicleProject>();
  ResetProject(*saved);
  saved->modelA1.Set(u"models\\a.obj");
  ASSERT_TRUE(WriteProjectFile(*saved, a + u"ef65.xml"));
  const std::u16string notes = dir.WriteText(u"notes.xml", "not a project");

  // A model path keeps naming the same file when the project is saved
  // elsewhere.
  struct Step {
    std::function<bool()> run;
    std::u16string folder, model;
  };
  const Step steps[] = {
      {[&] { return f.session->LoadDropped(a + u"ef65.xml"); }, a, u"models\\a.obj"},
      {[&] { f.ui.save_paths = {b + u"copy.xml"}; return f.session->SaveAs(); }, b, a + u"models\\a.obj"},
      {[&] { f.ui.open_paths = {notes}; return !f.session->Open(); }, b, a + u"models\\a.obj"},
      {[&] { f.ui.open_paths = {dir / u"missing.xml"}; return !f.session->Open(); }, b, a + u"models\\a.obj"},
      {[&] { f.ui.save_paths = {a + u"again.xml"}; return f.session->SaveAs(); }, a, u"models\\a.obj"},
      {[&] { return f.session->Save(); }, a, u"models\\a.obj"},
      {[&] { f.ui.open_paths = {b + u"copy.xml"}; return f.session->Open(); }, b, a + u"models\\a.obj"},
      {[&] { return f.session->New(); }, u"", u""},
  };
  for (size_t i = 0; i < std::size(steps); ++i) {
    EXPECT_TRUE(steps[i].run()) << "step " << i;
    EXPECT_EQ(f.project->folder, steps[i].folder) << "step " << i;
    EXPECT_EQ(U8(f.project->modelA1.str()), U8(steps[i].model)) << "step " << i;
    EXPECT_FALSE(f.session->Changed()) << "step " << i;
  }
}

}  // namespace
