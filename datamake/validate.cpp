#include "datamake/validate.h"

#include <cmath>
#include <vector>

#include "modelio/file_utils.h"

namespace {

uint32_t Refuse(Notifier& notifier, const char16_t* message) {
  notifier.ShowError(kCheckCaption, message);
  return kResultFail;
}

}  // namespace

uint32_t ValidateProject(const VehicleProject& p, Notifier& notifier, MainTextureSize* size) {
  if (p.name.empty()) return Refuse(notifier, u"形式番号が設定されていません。");
  if (p.outpath.empty()) return Refuse(notifier, u"出力パスが設定されていません。");
  if (p.series.empty()) return Refuse(notifier, u"形式名が設定されていません。");
  if (p.maintex.empty()) return Refuse(notifier, u"メインテクスチャーが設定されていません。");
  // NaN and infinities would reach the script as words, not numbers.
  if (!(p.zoom > 0) || !std::isfinite(p.zoom)) return Refuse(notifier, u"OBJ拡大率が0以下です。");
  if (p.sideview.empty()) return Refuse(notifier, u"形式画像が設定されていません。");

  std::vector<uint8_t> png;
  if (!ReadWholeFile(p.maintex.str(), png))
    return Refuse(notifier, u"メインテクスチャー：設定されていません。");
  // Only the signature and the colour type matter here; a file too short
  // to hold its header counts as no PNG.
  PngHeader header;
  if (ReadPngSize(png.data(), png.size(), header) != kResultOk)
    return Refuse(notifier, u"メインテクスチャー：PNG形式ではありません。");
  if (!header.truecolour) return Refuse(notifier, u"メインテクスチャー：INDEX COLOR形式は非対応です。");
  if (size) *size = MainTextureSize{header.width, header.height};
  return kResultOk;
}
