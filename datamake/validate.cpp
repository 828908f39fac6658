#include "datamake/validate.h"

#include <cmath>
#include <vector>

#include "platform/files.h"
#include "platform/fs.h"
#include "platform/image_headers.h"

namespace {

// Runs the checks in their order and hands each failure to `fail` (the
// field's key and the message); stops after the first when `all` is false.
// Returns the number of failures.
template <typename Fail>
int RunChecks(const VehicleProject& p, bool all, MainTextureSize* size, Fail fail) {
  int failures = 0;
  auto check = [&](bool ok, const char16_t* field, const char16_t* message) {
    if (ok) return true;
    ++failures;
    fail(field, message);
    return false;
  };
  bool ok = check(!p.name.empty(), u"name", u"形式番号が設定されていません。");
  ok = (ok || all) && check(!p.outpath.empty(), u"outpath", u"出力パスが設定されていません。") && ok;
  ok = (ok || all) && check(!p.series.empty(), u"series", u"形式名が設定されていません。") && ok;
  const bool maintex_set = !p.maintex.empty();
  ok = (ok || all) && check(maintex_set, u"maintex", u"メインテクスチャーが設定されていません。") && ok;
  // NaN and infinities would reach the script as words, not numbers.
  ok = (ok || all) && check(p.zoom > 0 && std::isfinite(p.zoom), u"zoom", u"OBJ拡大率が0以下です。") && ok;
  ok = (ok || all) && check(!p.sideview.empty(), u"sideview", u"形式画像が設定されていません。") && ok;
  if (!(ok || all) || !maintex_set) return failures;

  std::vector<uint8_t> png;
  // A shared read: the project's checks read it before, the compilation after.
  const bool read = FsReadSharedFile(ProjectPath(p, p.maintex.view()), png) && !png.empty();
  if (!check(read, u"maintex", u"メインテクスチャー：設定されていません。")) return failures;
  // Only the signature and the colour type matter here; a file too short
  // to hold its header counts as no PNG.
  PngHeader header;
  if (!check(ReadPngSize(png.data(), png.size(), header), u"maintex",
             u"メインテクスチャー：PNG形式ではありません。"))
    return failures;
  if (!check(header.truecolour, u"maintex", u"メインテクスチャー：INDEX COLOR形式は非対応です。"))
    return failures;
  if (size) *size = MainTextureSize{header.width, header.height};
  return failures;
}

}  // namespace

bool ValidateProject(const VehicleProject& p, Notifier& notifier, MainTextureSize* size) {
  int failures = RunChecks(p, false, size, [&](const char16_t*, const char16_t* message) {
    notifier.ShowError(kCheckCaption, message);
  });
  return failures == 0;
}

int ValidateProjectAll(const VehicleProject& p, MainTextureSize* size,
                       const std::function<void(const char16_t* field, const char16_t* message)>& fail) {
  return RunChecks(p, true, size, fail);
}
