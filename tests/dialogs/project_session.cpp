// The project as the main window keeps it: new, open, save, drops and
// closing, with the user's answers given in advance.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <iterator>
#include <memory>

#include "dialogs/project_session.h"
#include "dialogs/recent_projects.h"
#include "dialogs/window_title.h"
#include "project/project_file.h"
#include "tests/test_project_helpers.h"

namespace {

using testing_project::TempFolder;

struct ScriptedUi : SessionUi {
  std::deque<SaveChoice> answers;
  std::deque<std::u16string> paths;  // for either chooser; empty text: the user cancels
  std::vector<std::u16string> errors, proposals;
  int asked = 0;
  void ShowError(const std::u16string&, const std::u16string& message) override { errors.push_back(message); }
  SaveChoice AskSaveChanges() override {
    ++asked;
    const SaveChoice first = answers.empty() ? SaveChoice::kCancel : answers.front();
    if (!answers.empty()) answers.pop_front();
    return first;
  }
  bool ChooseSavePath(std::u16string& path) override {
    proposals.push_back(path);
    return ChooseOpenPath(path);
  }
  bool ChooseOpenPath(std::u16string& path) override {
    const std::u16string chosen = paths.empty() ? u"" : paths.front();
    if (!paths.empty()) paths.pop_front();
    if (!chosen.empty()) path = chosen;
    return !chosen.empty();
  }
};

struct Session : ::testing::Test {
  Session() : project(std::make_unique<VehicleProject>()), session(*project, ui) {
    ResetProject(*project);
    project->maker.Set(u"工房");
    session.SetDiscardCompiled([this] { ++discarded; });
  }
  int SpeedIn(const std::u16string& path) {
    auto back = std::make_unique<VehicleProject>();
    return ReadProjectFile(*back, path) ? back->speed : -1;
  }
  TempFolder dir;
  std::unique_ptr<VehicleProject> project;
  ScriptedUi ui;
  ProjectSession session;
  int discarded = 0;
};

TEST_F(Session, SaveNewAndOpen) {
  project->speed = 99;
  EXPECT_TRUE(session.Changed());
  EXPECT_FALSE(session.Save());  // without a type number nothing is asked
  EXPECT_EQ(ui.errors.at(0), u"形式番号が空欄です。\n形式番号は識別のため入力が必要です。");
  project->name.Set(u"EF/65");
  ui.paths = {u""};
  EXPECT_FALSE(session.Save());  // a cancelled dialog keeps the proposal
  EXPECT_EQ(session.CurrentPath(), u"EF_65");
  project->name.Set(u"EF66");  // the proposal stays once made
  ui.paths = {dir / u"a.xml"};
  EXPECT_TRUE(session.Save());
  EXPECT_EQ(ui.proposals.back(), u"EF_65");
  EXPECT_TRUE(session.HasFile() && !session.Changed());
  project->speed = 95;
  EXPECT_TRUE(session.Save());  // to its own file, no dialog
  EXPECT_EQ(ui.proposals.size(), 2u);
  EXPECT_EQ(SpeedIn(dir / u"a.xml"), 95);
  ui.paths = {dir / u"b.xml"};
  EXPECT_TRUE(session.SaveAs());  // always asks, from the current file
  EXPECT_EQ(ui.proposals.back(), dir / u"a.xml");

  project->speed = 80;
  ui.answers = {SaveChoice::kCancel};
  EXPECT_FALSE(session.New());
  EXPECT_EQ(project->speed, 80);
  EXPECT_EQ(discarded, 0);
  ui.answers = {SaveChoice::kSave};  // Yes saves to the file, then the new project
  EXPECT_TRUE(session.New());
  EXPECT_EQ(SpeedIn(dir / u"b.xml"), 80);
  EXPECT_EQ(project->speed, 120);
  EXPECT_FALSE(session.HasFile());
  EXPECT_EQ(discarded, 1);
  const int asked = ui.asked;
  EXPECT_TRUE(session.New());  // unchanged: nothing asked
  EXPECT_EQ(ui.asked, asked);
  project->name.Set(u"KiHa");
  ui.answers = {SaveChoice::kSave};
  ui.paths = {u""};  // Yes, but the save dialog is cancelled
  EXPECT_FALSE(session.New());
  EXPECT_EQ(project->name.str(), u"KiHa");

  // Opening what is no project, or nothing, keeps project and path.
  const std::u16string notes = dir.WriteText(u"notes.xml", "just some words\r\n");
  ui.answers = {SaveChoice::kDiscard, SaveChoice::kDiscard, SaveChoice::kDiscard};
  ui.paths = {notes, dir / u"missing.xml"};
  EXPECT_FALSE(session.Open());
  EXPECT_FALSE(session.Open());
  EXPECT_EQ(ui.errors.at(1), u"車両設定ファイルではありません。\n" + notes);
  EXPECT_EQ(ui.errors.at(2), u"ファイルを開けませんでした。\n" + (dir / u"missing.xml"));
  EXPECT_EQ(session.CurrentPath() + project->name.str(), u"KiHaKiHa");
  EXPECT_EQ(discarded, 2);
  EXPECT_TRUE(session.OpenPath(dir / u"a.xml"));  // a recent project: by its path
  EXPECT_EQ(project->speed, 95);
  EXPECT_EQ(discarded, 3);
  EXPECT_EQ(project->maker.str(), u"工房");

  // Saved by another editor: taken while nothing here is unsaved, never
  // over an edit, and not from a file that is no project.
  WriteTestFile(dir / u"a.xml", ReadTestFile(dir / u"b.xml"));
  EXPECT_TRUE(session.TakeFileFromDisk());
  EXPECT_TRUE(project->speed == 80 && !session.Changed());
  EXPECT_FALSE(session.TakeFileFromDisk());
  project->speed = 60;
  EXPECT_FALSE(session.TakeFileFromDisk());
  session.MarkSaved();
  WriteTestFile(dir / u"a.xml", "not a project");
  EXPECT_FALSE(session.TakeFileFromDisk());
  EXPECT_EQ(project->speed, 60);
}

TEST_F(Session, DroppedFilesAndClosing) {
  for (const char16_t* name : {u"C:\\a\\b.xml", u"C:\\a\\B.XML", u"x.Xml"}) EXPECT_TRUE(IsProjectFileName(name));
  for (const char16_t* name : {u"C:\\a\\model.obj", u"C:\\a.xml\\file", u"C:\\a\\b.xmlx", u"xml"})
    EXPECT_FALSE(IsProjectFileName(name));
  EXPECT_FALSE(session.LoadDropped(dir / u"model.obj"));
  ASSERT_TRUE(FsCreateDirectory(dir / u"folder.xml"));
  EXPECT_FALSE(session.LoadDropped(dir / u"folder.xml"));
  EXPECT_FALSE(session.LoadDropped(dir.path() + std::u16string(300, u'n') + u".xml"));
  EXPECT_EQ(ui.errors, (std::vector<std::u16string>{
                           u"車両設定ファイル(*.xml)ではありません。\n" + (dir / u"model.obj"),
                           u"フォルダーは開けません。車両設定ファイル(*.xml)をドロップしてください。\n" + (dir / u"folder.xml"),
                           u"ドロップしたファイル：パスが長すぎます。\n260文字以内のパスを指定してください。"}));
  EXPECT_EQ(ui.asked, 0);

  project->speed = 140;
  const std::u16string upper = dir / u"DROP2.XML";
  ASSERT_TRUE(WriteProjectFile(*project, upper));
  ResetProject(*project);
  EXPECT_TRUE(session.LoadDropped(upper));  // unchanged: loaded at once
  EXPECT_EQ(project->speed, 140);
  project->speed = 1;
  ui.answers = {SaveChoice::kCancel, SaveChoice::kDiscard};
  EXPECT_FALSE(session.LoadDropped(upper));
  EXPECT_FALSE(session.LoadDropped(dir.WriteText(u"notes.xml", "plain words")));
  EXPECT_EQ(ui.errors.back(), u"車両設定ファイルではありません。\n" + (dir / u"notes.xml"));
  EXPECT_EQ(project->speed, 1);
  EXPECT_EQ(session.CurrentPath(), upper);
  EXPECT_EQ(discarded, 1);

  // Closing with the edit: Cancel keeps the window, No lets it close, Yes
  // saves to the current file first without asking for a name.
  ui.answers = {SaveChoice::kCancel, SaveChoice::kDiscard, SaveChoice::kSave};
  EXPECT_FALSE(session.MayClose());
  EXPECT_TRUE(session.MayClose() && session.MayClose() && ui.proposals.empty());
  EXPECT_EQ(SpeedIn(upper), 1);
}

// The folder the relative paths resolve against follows the file the
// project was opened from, dropped as or saved to; a model path keeps naming
// the same file when the project is saved elsewhere.
TEST_F(Session, TheProjectFolderIsThatOfItsFile) {
  ASSERT_TRUE(FsCreateDirectory(dir / u"a") && FsCreateDirectory(dir / u"b"));
  const std::u16string a = dir / u"a" + FsSeparator(), b = dir / u"b" + FsSeparator();
  project->modelA1.Set(u"models\\a.obj");
  ASSERT_TRUE(WriteProjectFile(*project, a + u"ef65.xml"));
  ResetProject(*project);
  const std::u16string notes = dir.WriteText(u"notes.xml", "not a project");
  const struct {
    std::function<bool()> run;
    std::u16string folder, model;
  } steps[] = {
      {[&] { return session.LoadDropped(a + u"ef65.xml"); }, a, u"models\\a.obj"},
      {[&] { ui.paths = {b + u"copy.xml"}; return session.SaveAs(); }, b, a + u"models\\a.obj"},
      {[&] { ui.paths = {notes}; return !session.Open(); }, b, a + u"models\\a.obj"},
      {[&] { ui.paths = {a + u"again.xml"}; return session.SaveAs(); }, a, u"models\\a.obj"},
      {[&] { return session.Save(); }, a, u"models\\a.obj"},
      {[&] { ui.paths = {b + u"copy.xml"}; return session.Open(); }, b, a + u"models\\a.obj"},
      {[&] { return session.New(); }, u"", u""},
  };
  for (size_t i = 0; i < std::size(steps); ++i) {
    EXPECT_TRUE(steps[i].run()) << "step " << i;
    EXPECT_EQ(project->folder, steps[i].folder) << "step " << i;
    EXPECT_EQ(U8(project->modelA1.str()), U8(steps[i].model)) << "step " << i;
    EXPECT_FALSE(session.Changed()) << "step " << i;
  }
}

TEST(MainWindow, TitleAndRecentList) {
  EXPECT_EQ(MainWindowTitle(u"EF_65", false, true), u"* 無題 - ZEK RAILWICK");  // a proposal is no file
  EXPECT_EQ(MainWindowTitle(u"C:\\v\\rw101.xml", true, false), u"rw101.xml - ZEK RAILWICK");
  EXPECT_EQ(MainWindowTitle(u"C:\\v\\rw101.xml", true, true), u"* rw101.xml - ZEK RAILWICK");
  std::vector<std::u16string> list;
  for (int i = 1; i <= 9; ++i) list = WithRecentProject(list, u"C:\\p" + std::u16string(1, u'0' + i) + u".xml");
  ASSERT_EQ(list.size(), 8u);  // the oldest, p1, fell off
  EXPECT_EQ(list.back(), u"C:\\p2.xml");
  list = WithRecentProject(list, u"c:/P5.XML");  // the same file: moved up, not doubled
  EXPECT_EQ(list.size(), 8u);
  EXPECT_EQ(list[0] + list[1], u"c:/P5.XMLC:\\p9.xml");
  EXPECT_EQ(std::count(list.begin(), list.end(), u"C:\\p5.xml"), 0);
  EXPECT_EQ(RecentProjectLabel(0, u"C:\\A&B\\x.xml"), u"&1 C:\\A&&B\\x.xml");
  EXPECT_EQ(RecentProjectLabel(7, u"y.xml"), u"&8 y.xml");
}

}  // namespace
