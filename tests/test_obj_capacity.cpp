// Files past the model's fixed capacities, and the message buffer's limits.
#include <gtest/gtest.h>

#include <string>

#include "modelio/obj_model.h"
#include "tests/test_obj_util.h"
#include "tests/test_util.h"

namespace {

std::string Repeat(const std::string& line, int times) {
  std::string s;
  s.reserve(line.size() * times);
  for (int i = 0; i < times; ++i) s += line;
  return s;
}

struct CapacityCase {
  std::string text;
  const char* message;
  int32_t ObjModel::*count;
  int32_t expected;
};

TEST(ObjCapacity, EveryArrayStopsTheReadAtItsLimit) {
  const std::string corner = "v 1 1 1\nvt 0 0\ng a\n";
  const CapacityCase cases[] = {
      {Repeat("v 1 2 3\n", kObjMaxPositions + 1), "ERROR : too many positions [max 50000] [line 50001]\r\n",
       &ObjModel::position_count, kObjMaxPositions},
      {Repeat("vn 0 1 0\n", kObjMaxNormals + 1), "ERROR : too many normals [max 50000] [line 50001]\r\n",
       &ObjModel::normal_count, kObjMaxNormals},
      {Repeat("vt 0 1\n", kObjMaxTexCoords + 1), "ERROR : too many uvs [max 50000] [line 50001]\r\n",
       &ObjModel::tex_coord_count, kObjMaxTexCoords},
      {Repeat("g a\n", kObjMaxGroups + 1), "ERROR : too many groups [max 8000] [line 8001]\r\n",
       &ObjModel::group_count, kObjMaxGroups},
      // 16,666 triangles fill 49,998 corners; the next needs three more.
      {corner + Repeat("f 1/1 1/1 1/1\n", 16667), "ERROR : too many corners [max 50000] [line 16670]\r\n",
       &ObjModel::corner_count, 49998},
      // 8,333 quads fill 49,998 indices; the next needs six more.
      {corner + Repeat("f 1/1 1/1 1/1 1/1\n", 8334), "ERROR : too many indices [max 50000] [line 8337]\r\n",
       &ObjModel::index_count, 49998},
  };
  for (const CapacityCase& c : cases) {
    SCOPED_TRACE(c.message);
    ObjFolder f;
    f.File("m.obj", c.text + "v 7 7 7\n");
    EXPECT_EQ(f.Read(), ObjResult::kStopped);
    EXPECT_EQ(f.Messages(), c.message);
    EXPECT_EQ((*f.model).*c.count, c.expected);
    EXPECT_EQ(f.model->face_error_count, 1);
    // Nothing after the stop is read, and nothing beside the arrays changed.
    const int32_t last = f.model->position_count - 1;
    EXPECT_TRUE(last < 0 || f.model->positions[last][0] != 7.0f);
    EXPECT_EQ(f.model->flip_v, 1);
    EXPECT_EQ(f.model->flip_u, 0);
  }
}

TEST(ObjCapacity, ExactlyFullIsAccepted) {
  ObjFolder f;
  f.File("m.obj", "v 1 1 1\nvt 0 0\ng a\n" + Repeat("f 1/1 1/1 1/1\n", 16666) + Repeat("v 1 2 3\n", 49999));
  EXPECT_EQ(f.Read(), ObjResult::kOk);
  EXPECT_EQ(f.model->corner_count, 49998);
  EXPECT_EQ(f.model->position_count, kObjMaxPositions);
  EXPECT_EQ(f.model->corners[49997].corner_number, 3);
  EXPECT_EQ(f.model->indices[49997], 49997);
}

TEST(ObjCapacity, FansStopAtTheCornerAndIndexLimits) {
  const std::string head = "v 1 1 1\nv 2 1 1\nv 1 2 1\nvt 0 0\ng a\n";
  const std::string hexagon = "f 1/1 2/1 3/1 1/1 2/1 3/1\n";  // 6 corners, 12 indices
  struct Case {
    std::string text;
    const char* message;
    int32_t corners, indices, last_index;
  } cases[] = {
      // 16,665 triangles leave 5 corners; a hexagon needs 6.
      {head + Repeat("f 1/1 2/1 3/1\n", 16665) + hexagon,
       "ERROR : too many corners [max 50000] [line 16671]\r\n", 49995, 49995, 49994},
      // 8,331 quads and a hexagon fill 49,998 indices: full, and accepted...
      {head + Repeat("f 1/1 2/1 3/1 1/1\n", 8331) + hexagon + "f 1/1 2/1 3/1 1/1 2/1\n",
       "ERROR : too many indices [max 50000] [line 8338]\r\n", 33330, 49998, 33329},
      // ...where a pentagon after 8,332 quads would need 9 more than 49,992.
      {head + Repeat("f 1/1 2/1 3/1 1/1\n", 8332) + "f 1/1 2/1 3/1 1/1 2/1\n",
       "ERROR : too many indices [max 50000] [line 8338]\r\n", 33328, 49992, 33324},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    ObjFolder f;
    f.File("m.obj", c.text + "v 7 7 7\n");
    EXPECT_EQ(f.Read(), ObjResult::kStopped);
    // The split warning counts only the polygons taken.
    const std::string split =
        c.indices == 49998 ? "WARNING : polygons of 5 or more points split into triangles [1]\r\n" : "";
    EXPECT_EQ(f.Messages(), c.message + split);
    EXPECT_EQ(f.model->corner_count, c.corners);
    EXPECT_EQ(f.model->index_count, c.indices);
    EXPECT_EQ(f.model->position_count, 3);
    EXPECT_EQ(f.model->face_error_count, 1);
    EXPECT_EQ(f.model->flip_v, 1);  // the field after the index array
    EXPECT_EQ(f.model->indices[c.indices - 1], c.last_index);
  }
}

TEST(ObjMessages, PrefixesCountsAndLimits) {
  ObjModelPtr model = NewObjModel();
  std::u16string text;
  model->message_text = &text;
  model->message_capacity = 40;
  EXPECT_EQ(AppendModelMessage(*model, kModelMessageText, u"plain %d%%\r\n", -12), 12);
  EXPECT_EQ(AppendModelMessage(*model, kModelMessageWarning, u"w [%s]\r\n", u"x"), 7);
  EXPECT_EQ(AppendModelMessage(*model, kModelMessageError, u"%s", u""), 0);  // empty: nothing at all
  EXPECT_EQ(text, u"plain -12%\r\nWARNING : w [x]\r\n");
  EXPECT_EQ(model->warning_count, 1);
  EXPECT_EQ(model->error_count, 0);

  // Long texts are kept and counted like any other (the formatter's limit
  // is 65,535 units, as the compiler's log has it).
  std::u16string big(2046, u'a');
  EXPECT_EQ(AppendModelMessage(*model, kModelMessageError, u"%s!", big), 2047);
  EXPECT_EQ(AppendModelMessage(*model, kModelMessageError, u"%s!!", big), 2048);
  EXPECT_EQ(model->error_count, 2);
  // The message text is cut at its capacity (a terminator's room left).
  EXPECT_EQ(text.size(), 39u);
  EXPECT_EQ(text.substr(29), u"ERROR : aa");

  // Without a message text the counts still run.
  model->message_text = nullptr;
  AppendModelMessage(*model, kModelMessageError, u"e\r\n");
  EXPECT_EQ(model->error_count, 3);
}

}  // namespace
