// The one notice of a run: a message box captioned "Railwick". Any later
// notice of the same run is dropped.
#pragma once

// printf-style wide format; the text is cut at 4,096 characters.
void ShowNotice(const wchar_t* format, ...);
