// Models as current modelers export them (object lines, polygons of five or
// more corners, names with blanks, map options, maps beside the colour map),
// each beside a twin written in the narrow shape: groups, triangles and quads,
// no blanks. The twins draw the same triangles, so the meshes must match
// triangle for triangle, read alone and compiled into a vehicle.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "modelio/mesh_file.h"
#include "modelio/obj_model.h"
#include "tests/test_model_commands_fixture.h"
#include "tests/test_util.h"

namespace {

const char* const kModernFiles[] = {
    "objects.obj",       "objects_twin.obj", "objects.mtl",       "hexagon.obj",       "hexagon_twin.obj",
    "disc32.obj",        "disc32_twin.obj",  "plain.mtl",         "blanks.obj",        "blanks_twin.obj",
    "car body.mtl",      "car_body.mtl",     "mapoptions.obj",    "mapoptions.mtl",    "mapoptions_twin.obj",
    "bump.obj",          "bump.mtl",         "bump_twin.obj",     "blender.obj",       "blender_twin.obj",
    "blender scene.mtl", "blender_twin.mtl", "texture.png",       "body texture.png",  "body_texture.png",
    "normal map.png",    "specular.png",     "blender scene.png", "blender_scene.png",
};

// The test data copied into a scratch folder, as the compiler writes mesh
// files beside the models.
std::u16string CopyModernModels() {
  std::u16string folder = MakeTempFolder();
  for (const char* name : kModernFiles)
    WriteTestFile(folder + U16(name),
                  ReadTestFile(SourcePath(std::string("tests/data/models/modern/") + name)));
  return folder;
}

struct Twin {
  const char* modern;
  const char* twin;
  // The modern model's messages, with {folder} for the model folder.
  const char* messages;
};

const Twin kTwins[] = {
    {"objects.obj", "objects_twin.obj", ""},
    {"hexagon.obj", "hexagon_twin.obj",
     "WARNING : polygons of 5 or more points split into triangles [2]\r\n"},
    {"disc32.obj", "disc32_twin.obj", "WARNING : polygons of 5 or more points split into triangles [1]\r\n"},
    {"blanks.obj", "blanks_twin.obj", ""},
    {"mapoptions.obj", "mapoptions_twin.obj", ""},
    {"bump.obj", "bump_twin.obj",
     "WARNING : one texture per material: map lines ignored [map_Bump line 5, map_Ks line 7, map_d line 8, "
     "map_Ns line 9] [{folder}bump.mtl]\r\n"},
    {"blender.obj", "blender_twin.obj",
     "WARNING : one texture per material: map lines ignored [map_Bump line 14] [{folder}blender "
     "scene.mtl]\r\n"
     "WARNING : polygons of 5 or more points split into triangles [3]\r\n"},
};

std::string WithFolder(std::string text, const std::u16string& folder) {
  const std::string key = "{folder}";
  for (size_t at = text.find(key); at != std::string::npos; at = text.find(key))
    text.replace(at, key.size(), U8(folder));
  return text;
}

// One drawn corner as the mesh file holds it.
struct DrawnCorner {
  float position[3], normal[3], uv[2];
};

std::vector<DrawnCorner> DrawnCorners(const std::vector<MeshVertex>& vertices, const uint16_t* indices,
                                      size_t index_count) {
  std::vector<DrawnCorner> out;
  for (size_t i = 0; i < index_count; ++i) {
    const MeshVertex& v = vertices[indices[i]];
    out.push_back(
        {{v.position[0], v.position[1], v.position[2]}, {v.normal[0], v.normal[1], v.normal[2]}, {v.u, v.v}});
  }
  return out;
}

// Corner by corner in drawing order; +0 and -0 draw alike, so floats compare
// by value.
void ExpectSameTriangles(const std::vector<DrawnCorner>& a, const std::vector<DrawnCorner>& b) {
  ASSERT_EQ(a.size(), b.size());
  ASSERT_EQ(a.size() % 3, 0u);
  for (size_t i = 0; i < a.size(); ++i) {
    SCOPED_TRACE("triangle " + std::to_string(i / 3) + " corner " + std::to_string(i % 3));
    for (int k = 0; k < 3; ++k) {
      EXPECT_EQ(a[i].position[k], b[i].position[k]);
      EXPECT_EQ(a[i].normal[k], b[i].normal[k]);
    }
    EXPECT_EQ(a[i].uv[0], b[i].uv[0]);
    EXPECT_EQ(a[i].uv[1], b[i].uv[1]);
  }
}

struct ReadModel {
  ObjModelPtr model = NewObjModel();
  std::u16string messages;
  ObjResult result;

  ReadModel(const std::u16string& path, int options) {
    model->message_text = &messages;
    model->message_capacity = kObjMessageCapacity;
    model->mirror_z = options == 1;
    if (options == 2) {
      model->flip_v = 0;
      model->flip_u = 1;
      model->invert_face_normals = 1;
    }
    result = ReadObjFile(*model, path);
  }
  std::vector<DrawnCorner> Drawn() const {
    std::vector<MeshVertex> vertices(static_cast<size_t>(model->corner_count));
    ConvertObjModel(*model, vertices.data(), nullptr, 0.0f, 0.0f, nullptr, 1.0f);
    return DrawnCorners(vertices, model->indices, static_cast<size_t>(model->index_count));
  }
  // The material of each drawn corner's group (-2: drawn before any group).
  std::vector<int32_t> GroupMaterials() const {
    std::vector<int32_t> out;
    for (int32_t i = 0; i < model->index_count; ++i) {
      int32_t group = model->corners[model->indices[i]].group;
      out.push_back(group < 0 ? -2 : model->groups[group].material);
    }
    return out;
  }
};

void ExpectSameMaterials(const ObjModel& a, const ObjModel& b) {
  EXPECT_EQ(a.page_width, b.page_width);
  EXPECT_EQ(a.page_height, b.page_height);
  ASSERT_EQ(a.material_count, b.material_count);
  for (int32_t i = 0; i < a.material_count; ++i) {
    const ObjMaterial& x = a.materials[i];
    const ObjMaterial& y = b.materials[i];
    EXPECT_EQ(x.left, y.left);
    EXPECT_EQ(x.top, y.top);
    EXPECT_EQ(x.width, y.width);
    EXPECT_EQ(x.height, y.height);
  }
}

TEST(ObjModernExports, EachModelDrawsWhatItsTwinDraws) {
  const std::u16string folder = CopyModernModels();
  for (const Twin& t : kTwins) {
    for (int options = 0; options < 3; ++options) {
      SCOPED_TRACE(std::string(t.modern) + " options " + std::to_string(options));
      ReadModel modern(folder + U16(t.modern), options);
      ReadModel twin(folder + U16(t.twin), options);
      ASSERT_EQ(modern.result, ObjResult::kOk) << U8(modern.messages);
      ASSERT_EQ(twin.result, ObjResult::kOk) << U8(twin.messages);
      EXPECT_EQ(U8(modern.messages), WithFolder(t.messages, folder));
      EXPECT_EQ(U8(twin.messages), "");
      EXPECT_EQ(modern.model->error_count, 0);
      ExpectSameTriangles(modern.Drawn(), twin.Drawn());
      ExpectSameMaterials(*modern.model, *twin.model);
      EXPECT_EQ(modern.GroupMaterials(), twin.GroupMaterials());
      EXPECT_EQ(modern.model->group_count, twin.model->group_count);
    }
  }
}

TEST(ObjModernExports, ObjectLinesNameTheGroups) {
  const std::u16string folder = CopyModernModels();
  ReadModel objects(folder + u"objects.obj", 0);
  ASSERT_EQ(objects.result, ObjResult::kOk);
  const ObjModel& m = *objects.model;
  ASSERT_EQ(m.group_count, 3);
  EXPECT_STREQ(m.groups[0].name, "Body");
  EXPECT_STREQ(m.groups[1].name, "Roof Panel");
  EXPECT_STREQ(m.groups[2].name, "Marker");
  // A group begins at its object line, before the object's positions.
  EXPECT_EQ(m.groups[0].first_position, 0);
  EXPECT_EQ(m.groups[1].first_position, 6);
  EXPECT_EQ(m.groups[2].first_position, 7);
  EXPECT_EQ(m.groups[0].material, 0);
  EXPECT_EQ(m.groups[1].material, 1);
  EXPECT_EQ(m.groups[2].material, -1);  // no usemtl of its own; the roof's material goes on
  EXPECT_EQ(m.corners[m.corner_count - 1].group, 2);

  ReadModel blanks(folder + u"blanks.obj", 0);
  ASSERT_EQ(blanks.model->material_count, 1);
  EXPECT_STREQ(blanks.model->materials[0].name, "Body Paint");
  EXPECT_EQ(std::u16string(blanks.model->materials[0].texture_path), folder + u"body texture.png");
  EXPECT_EQ(blanks.model->current_material, 0);
}

// The mesh file a compiled model left beside itself, as drawn corners.
std::vector<DrawnCorner> CompiledCorners(const std::u16string& mesh_path) {
  MeshData mesh;
  EXPECT_EQ(LoadMeshFile(mesh_path, mesh), MeshFileCheck::kOk) << U8(mesh_path);
  return DrawnCorners(mesh.vertices, mesh.indices.data(), mesh.indices.size());
}

TEST(ObjModernExports, CompiledVehiclesCarryTheTwinsMeshes) {
  const std::u16string folder = CopyModernModels();
  for (const Twin& t : kTwins) {
    SCOPED_TRACE(t.modern);
    const std::string modern_base = std::string(t.modern).substr(0, std::string(t.modern).size() - 4);
    const std::string twin_base = std::string(t.twin).substr(0, std::string(t.twin).size() - 4);
    auto modern =
        CompileScript("3D本体 " + std::string(t.modern) + "\nChangeLR 1\n3D屋根 " + t.modern + "\n", folder);
    const std::vector<DrawnCorner> modern_mirrored = CompiledCorners(folder + U16(modern_base + ".3dd"));
    auto twin =
        CompileScript("3D本体 " + std::string(t.twin) + "\nChangeLR 1\n3D屋根 " + t.twin + "\n", folder);
    const std::vector<DrawnCorner> twin_mirrored = CompiledCorners(folder + U16(twin_base + ".3dd"));
    ASSERT_EQ(modern->result, 0u) << modern->LogText();
    ASSERT_EQ(twin->result, 0u) << twin->LogText();
    // Warnings reach the log but do not fail the compilation.
    EXPECT_EQ(CountOf(modern->LogText(), " OBJ load"), std::string(t.messages).empty() ? 0u : 2u)
        << modern->LogText();
    EXPECT_EQ(CountOf(twin->LogText(), " OBJ load"), 0u) << twin->LogText();

    const std::vector<TestRecord> a = RecordsBeforeTextureBlock(modern->Stream());
    const std::vector<TestRecord> b = RecordsBeforeTextureBlock(twin->Stream());
    ASSERT_EQ(a.size(), 2u);
    ASSERT_EQ(b.size(), 2u);
    for (size_t r = 0; r < 2; ++r) {
      SCOPED_TRACE(r == 0 ? "body" : "roof, mirrored");
      MeshData x, y;
      ASSERT_EQ(ParseMeshFile(a[r].data.data() + 4, a[r].data.size() - 4, x), MeshFileCheck::kOk);
      ASSERT_EQ(ParseMeshFile(b[r].data.data() + 4, b[r].data.size() - 4, y), MeshFileCheck::kOk);
      ExpectSameTriangles(DrawnCorners(x.vertices, x.indices.data(), x.indices.size()),
                          DrawnCorners(y.vertices, y.indices.data(), y.indices.size()));
    }
    // The file left on disk is the last (mirrored) conversion.
    ExpectSameTriangles(modern_mirrored, twin_mirrored);
  }
}

}  // namespace
