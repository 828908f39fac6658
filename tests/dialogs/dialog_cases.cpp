// The data dialogs as a person fills them in: tests/data/dialogs/fields.txt
// holds one opened dialog a line; tests/data/dialogs/numbers.txt the number
// texts they read and write.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <sstream>

#include "dialogs/container_dialogs.h"
#include "dialogs/data_dialog_session.h"
#include "dialogs/data_dialogs.h"
#include "dialogs/dialog_numbers.h"
#include "project/project_file.h"
#include "tests/test_project_helpers.h"

namespace {

using namespace testing_project;

// A dialog's controls kept in memory, as a person would leave them.
struct FakeControls : DialogControls {
  std::map<int, std::u16string> texts;
  std::map<int, size_t> limits;
  std::map<int, bool> checks;
  std::map<int, int> selections;
  int focused = 0;
  std::u16string Text(int id) override { return texts[id]; }
  void SetText(int id, std::u16string_view text, size_t limit) override {
    texts[id] = std::u16string(text);
    limits[id] = limit;
  }
  bool Checked(int id) override { return checks[id]; }
  void SetChecked(int id, bool checked) override { checks[id] = checked; }
  int Selection(int id) override { return selections.count(id) ? selections[id] : -1; }
  void SetChoices(int id, const std::vector<std::u16string>&, int selection) override { selections[id] = selection; }
  void SetSelection(int id, int selection) override { selections[id] = selection; }
  void Focus(int id) override { focused = id; }
};

// The numbers behind the names the resource scripts use.
std::map<std::string, int> DialogIds() {
  std::istringstream header(ReadTestFile(SourcePath("res/dialog_ids.h")));
  std::map<std::string, int> ids;
  std::string word, name;
  int value;
  while (header >> word)
    if (word == "#define" && header >> name >> value) ids[name] = value;
  return ids;
}

// A table cell with "$D" standing for the folder of the case's files.
std::u16string Cell(std::string text, const std::u16string& folder) {
  for (size_t at; (at = text.find("$D")) != std::string::npos;) text.replace(at, 2, U8(folder));
  return U16(text);
}

// What the cases start from: a reset project with values no dialog lists.
std::unique_ptr<VehicleProject> StartProject() {
  auto p = std::make_unique<VehicleProject>();
  ResetProject(*p);
  p->tire[0].modelTire.Set(u"w.obj");
  p->tire[0].TireRadius = 8.5f;
  p->truck[0].type = 7;  // from an old file
  p->truck[1].type = 2;
  p->truck[1].tirein[0].tireID = 2;
  p->truck[1].tirein[1].tireID = 5;
  p->truck[1].tirein[3] = TireMount{1, 3.5f, 4.5f};  // the mount no dialog shows
  p->untendai[0] = CabEntry{1, 1, 2, 3};
  p->optionset[1].modelA.Set(u"b-a.obj");
  p->container[0] = ContainerSlot{9, 10, 1, -2};
  p->container[2] = ContainerSlot{1, -3.5f, 0, 0};
  p->container[3] = ContainerSlot{6, 0, 0, 0};  // a type the table lacks
  return p;
}

// Tokens after the dialog: NAME?shown, NAME^limit, NAME=typed (text, #row or
// [x]/[ ]), @page, <key>value</key> (a line of the project after OK, or with
// "-" no such line), !message (OK refused: the one message, focus on the
// last typed control, the project as before) and ~message (shown on OK).
TEST(DataDialogs, FieldCases) {
  const std::map<std::string, int> ids = DialogIds();
  TempFolder dir;
  dir.Write(u"main.png", InputFile("main_512x256_rgba.png"));
  dir.Write(u"side.png", InputFile("side_200x58_palette.png"));
  dir.Write(u"sign.png", InputFile("sign_128_rgb.png"));
  dir.Write(u"small.png", InputFile("small_64.png"));
  dir.Write(u"ok.wav", InputFile("good.wav"));
  dir.Write(u"st.wav", InputFile("stereo.wav"));
  const auto rows = CaseRows("dialogs/fields.txt");
  for (const auto& cells : rows) {
    SCOPED_TRACE(cells[0] + " " + cells[1]);
    auto p = StartProject();
    SetSubTexture(*p, dir / u"sign.png");
    const std::string before = FormatProjectFile(*p);
    FakeControls c;
    RecordingNotifier n;
    std::unique_ptr<DataDialogSession> data;
    std::unique_ptr<ContainerSlotSession> slot;
    const size_t colon = cells[0].find(':');
    if (colon != std::string::npos) {
      slot = std::make_unique<ContainerSlotSession>(*p, std::atoi(cells[0].c_str() + colon + 1), c, n);
      slot->Show();
    } else {
      ASSERT_NE(FindDataDialog(ids.at(cells[0])), nullptr);
      data = std::make_unique<DataDialogSession>(*FindDataDialog(ids.at(cells[0])), *p, c, n);
      data->Show();
    }
    auto ok = [&] { return data ? data->Ok() : slot->Ok(); };
    int typed = 0;
    size_t shown = 0;
    for (size_t i = 1; i < cells.size(); ++i) {
      const std::string& t = cells[i];
      const size_t op = std::string("@<-!~").find(t[0]) == std::string::npos ? t.find_first_of("?=^") : 0;
      const std::u16string value = Cell(t.substr(t[0] == '<' ? 0 : op + 1), dir.path());
      if (t[0] == '@') {
        EXPECT_TRUE(data->ChangePage(std::atoi(t.c_str() + 1)));
      } else if (t[0] == '<' || t[0] == '-') {
        ASSERT_TRUE(ok()) << U8(n.Only());
        const bool found = FormatProjectFile(*p).find("\t" + U8(value) + "\r\n") != std::string::npos;
        EXPECT_EQ(found, t[0] == '<') << t;
      } else if (t[0] == '!') {
        EXPECT_FALSE(ok());
        EXPECT_EQ(U8(n.Only()), U8(value));
        EXPECT_EQ(n.calls.at(0).first, u"検証");
        EXPECT_EQ(c.focused, typed);
        EXPECT_EQ(FormatProjectFile(*p), before);
      } else if (t[0] == '~') {
        if (shown == 0) {
          EXPECT_TRUE(ok());
        }
        ASSERT_GT(n.calls.size(), shown);
        EXPECT_EQ(U8(n.calls[shown++].second), U8(value));
      } else {
        const int id = ids.at(t.substr(0, op));
        const bool is_row = value[0] == u'#', is_box = value == u"[x]" || value == u"[ ]";
        if (t[op] == '^') {
          EXPECT_EQ(c.limits[id], std::stoul(U8(value))) << t;
        } else if (t[op] == '?') {
          const std::u16string state = is_row   ? u"#" + U16(std::to_string(c.Selection(id)))
                                       : is_box ? (c.checks[id] ? u"[x]" : u"[ ]")
                                                : c.texts[id];
          EXPECT_EQ(U8(state), U8(value)) << t;
        } else {
          typed = id;
          if (is_row) c.selections[id] = std::stoi(U8(value.substr(1)));
          else if (is_box) c.checks[id] = value == u"[x]";
          else c.texts[id] = value;
        }
      }
    }
  }
  EXPECT_GT(rows.size(), 40u);
}

TEST(DataDialogs, BrowseButtonsFillShownEditsUpToTheirField) {
  auto p = StartProject();
  for (size_t d = 0; d < kDataDialogCount; ++d) {
    FakeControls c;
    RecordingNotifier n;
    DataDialogSession session(kDataDialogs[d], *p, c, n);
    session.Show();
    for (size_t b = 0; b < kDataDialogs[d].button_count; ++b) {
      const BrowseButton& button = kDataDialogs[d].buttons[b];
      EXPECT_TRUE(c.texts.count(button.edit) && !c.texts.count(button.button)) << button.button;
      const std::u16string fits = u"C:" + std::u16string(257, u'a');  // 259 characters
      EXPECT_FALSE(session.PutChosenPath(button, fits + u"a"));
      EXPECT_NE(c.texts[button.edit], fits + u"a");
      EXPECT_TRUE(session.PutChosenPath(button, fits));
      EXPECT_EQ(c.texts[button.edit], fits);
    }
    if (d == 1) {
      EXPECT_EQ(n.calls.at(0).second, u"選択したファイル：パスが長すぎます。\n259文字以内のパスを指定してください。");
    }
  }
}

TEST(ContainerDialogs, ListIsSortedAndFillsUpToSixteen) {
  auto p = StartProject();
  RecordingNotifier n;
  ContainerListSession list(*p, n);
  // Sorted by type in the working copy: thirteen empty slots, then 1, 6, 9.
  const std::vector<ContainerRow> rows = ContainerRows(list.Working());
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].slot, 13);
  EXPECT_EQ(rows[2].slot, 15);
  EXPECT_EQ(rows[0].cells[0] + rows[0].cells[1] + rows[0].cells[2], u"荷物、その他-3.50 0.00");
  EXPECT_EQ(rows[1].cells[0], u"6");
  EXPECT_EQ(rows[2].cells[0] + rows[2].cells[1] + rows[2].cells[3], u"国鉄10t、JR20フィート10.00-2.00");
  EXPECT_EQ(p->container[0].type, 9);  // the project keeps its order until OK
  for (int i = 0; i < 13; ++i) EXPECT_EQ(list.Add(), i);
  EXPECT_EQ(list.Add(), -1);
  EXPECT_EQ(n.Only(), u"コンテナ位置は16箇所まで設定できます。");
  list.DropNew(5);  // a new slot whose dialog was cancelled
  EXPECT_EQ(ContainerRows(list.Working()).size(), 15u);
  list.Commit();
  EXPECT_EQ(p->container[15].type, 9);
  EXPECT_EQ(p->container[5].type, 0);
}

// Each line: "float TEXT VALUE|-", "int TEXT VALUE|-" or "format VALUE WIDTH
// DECIMALS TEXT"; expected values are read by the C library.
TEST(DialogNumbers, Cases) {
  const auto rows = CaseRows("dialogs/numbers.txt");
  for (const auto& cells : rows) {
    SCOPED_TRACE(cells[0] + " " + cells[1]);
    const std::u16string text = Cell(cells[1], u"");
    if (cells[0] == "float") {
      float v = 42;
      EXPECT_EQ(ReadDialogFloat(text, v), cells[2] != "-");
      EXPECT_EQ(v, cells[2] == "-" ? 42.0f : std::strtof(cells[2].c_str(), nullptr));
      if (cells.size() > 3) {
        EXPECT_EQ(U8(FormatDialogFloat(v, 0, 6)), cells[3]);
      }
    } else if (cells[0] == "int") {
      int32_t v = 5;
      EXPECT_EQ(ReadDialogInt(text, v), cells[2] != "-");
      EXPECT_EQ(v, cells[2] == "-" ? 5 : std::stoi(cells[2]));
    } else {
      EXPECT_EQ(U8(FormatDialogFloat(std::strtof(cells[1].c_str(), nullptr), std::stoi(cells[2]),
                                     std::stoi(cells[3]))), cells[4]);
    }
  }
  EXPECT_GT(rows.size(), 40u);
  EXPECT_EQ(NormaliseNumberText(u"\u3000\uFF11\uFF25\uFF12 "), u"1E2");
  EXPECT_EQ(FormatDialogInt(-120), u"-120");
}

}  // namespace
