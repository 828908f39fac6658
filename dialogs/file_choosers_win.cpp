#include "dialogs/file_choosers_win.h"

// clang-format off
#include <commdlg.h>
#include <cderr.h>
#include <shlobj.h>
// clang-format on

#include <vector>

#include "dialogs/dialog_window_win.h"

namespace {

struct Filter {
  const wchar_t* pattern;  // description and pattern, each ended by a NUL
  const wchar_t* extension;
};

// Literal filter texts keep their inner NULs; the array's own NUL ends the list.
const wchar_t kModelFilter[] = L"wavefront OBJモデル(*.obj)\0*.obj\0";
const wchar_t kTextureFilter[] = L"テクスチャー(*.png)\0*.png\0";
const wchar_t kTypeImageFilter[] = L"形式画像(*.png)\0*.png\0";
const wchar_t kSoundFilter[] = L"wave(*.wav)\0*.wav\0";
const wchar_t kProjectFilter[] = L"車両設定(*.xml)\0*.xml\0";

Filter FilterOf(BrowseKind kind) {
  switch (kind) {
    case BrowseKind::kTexture:
      return {kTextureFilter, L"png"};
    case BrowseKind::kTypeImage:
      return {kTypeImageFilter, L"png"};
    case BrowseKind::kSound:
      return {kSoundFilter, L"wav"};
    case BrowseKind::kModel:
    default:
      return {kModelFilter, L"obj"};
  }
}

// The choosers may move the process's current folder as the user browses,
// and OFN_NOCHANGEDIR does not stop every one of them: it is put back
// whatever the user did, so nothing ever sees where a dialog went.
class CurrentFolderKept {
 public:
  CurrentFolderKept() {
    const DWORD length = GetCurrentDirectoryW(0, nullptr);
    folder_.resize(length);
    if (length == 0 || GetCurrentDirectoryW(length, folder_.data()) >= length) folder_.clear();
  }
  ~CurrentFolderKept() {
    if (!folder_.empty()) SetCurrentDirectoryW(folder_.data());
  }
  CurrentFolderKept(const CurrentFolderKept&) = delete;
  CurrentFolderKept& operator=(const CurrentFolderKept&) = delete;

 private:
  std::vector<wchar_t> folder_;
};

// One run of the open or save dialog on a buffer of `capacity` characters.
ChooserResult RunFileDialog(HWND owner, const wchar_t* filter, const wchar_t* extension, const wchar_t* title,
                            DWORD flags, size_t capacity, bool save, std::u16string& path) {
  const CurrentFolderKept kept;
  std::vector<wchar_t> buffer(capacity, L'\0');
  if (path.size() < capacity) path.copy(reinterpret_cast<char16_t*>(buffer.data()), path.size());
  OPENFILENAMEW ofn = {};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(capacity);
  ofn.lpstrInitialDir = L"";
  ofn.lpstrTitle = title;
  ofn.lpstrDefExt = extension;
  ofn.Flags = flags | OFN_NOCHANGEDIR;
  const BOOL ok = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
  if (!ok)
    return CommDlgExtendedError() == FNERR_BUFFERTOOSMALL ? ChooserResult::kTooLong
                                                          : ChooserResult::kCancelled;
  buffer.back() = L'\0';
  path = FromWide(buffer.data());
  return ChooserResult::kChosen;
}

}  // namespace

ChooserResult ChooseFile(HWND owner, BrowseKind kind, std::u16string& path) {
  const Filter filter = FilterOf(kind);
  std::u16string chosen;
  const ChooserResult result = RunFileDialog(owner, filter.pattern, filter.extension, L"ファイル選択",
                                             OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, 320, false, chosen);
  if (result == ChooserResult::kChosen) path = chosen;
  return result;
}

ChooserResult ChooseFolder(HWND owner, std::u16string& path) {
  const CurrentFolderKept kept;
  BROWSEINFOW info = {};
  info.hwndOwner = owner;
  info.lpszTitle = L"フォルダー選択";
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  PIDLIST_ABSOLUTE list = SHBrowseForFolderW(&info);
  if (!list) return ChooserResult::kCancelled;
  wchar_t folder[MAX_PATH] = {};
  const BOOL ok = SHGetPathFromIDListW(list, folder);
  CoTaskMemFree(list);
  if (!ok) return ChooserResult::kCancelled;  // not a file-system folder
  path = FromWide(folder);
  return ChooserResult::kChosen;
}

bool ChooseProjectToOpen(HWND owner, std::u16string& path) {
  std::u16string chosen;
  if (RunFileDialog(owner, kProjectFilter, L"xml", L"ファイル選択", OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, 261,
                    false, chosen) != ChooserResult::kChosen)
    return false;
  path = chosen;
  return true;
}

bool ChooseProjectToSave(HWND owner, std::u16string& path) {
  // The save dialog must take a name no file has yet: the path must exist,
  // the file need not.
  std::u16string chosen = path;
  if (RunFileDialog(owner, kProjectFilter, L"xml", L"保存",
                    OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST, 261, true,
                    chosen) != ChooserResult::kChosen)
    return false;
  path = chosen;
  return true;
}
