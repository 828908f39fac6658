// The common file and folder dialogs the program uses. None of them changes
// the process's current folder.
#pragma once
#include <windows.h>

#include <string>

#include "dialogs/data_dialogs.h"

enum class ChooserResult { kChosen, kCancelled, kTooLong };

// The browse buttons' open-file dialog for models, textures, the type image
// and sounds (title "ファイル選択", a 320-character buffer).
ChooserResult ChooseFile(HWND owner, BrowseKind kind, std::u16string& path);
// The folder dialog (title "フォルダー選択"); `path` changes only when the
// user confirms a folder.
ChooserResult ChooseFolder(HWND owner, std::u16string& path);
// The project file dialogs of Open and Save; `path` in the save dialog
// starts as the proposed name.
bool ChooseProjectToOpen(HWND owner, std::u16string& path);
bool ChooseProjectToSave(HWND owner, std::u16string& path);
