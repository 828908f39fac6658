// Whole-file reads and writes and file-name sanitising, shared by the project,
// the compiler and the model reader.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Whole file into `out`. False for a missing, unreadable or empty file.
bool ReadWholeFile(const std::u16string& path, std::vector<uint8_t>& out);
// True when every byte was written and flushed to disk; the target is
// replaced only then. For the files an author keeps: data files, projects,
// scripts.
bool WriteWholeFile(const std::u16string& path, const void* data, size_t size);
// UTF-8 text file as UTF-16: CR LF becomes LF, a byte-order mark is dropped.
// False when the file cannot be opened.
bool ReadUtf8TextFile(const std::u16string& path, std::u16string& text);
// Control characters and "'*/:<>?\| become '_' so the text can name a file.
void SanitizeFileName(std::u16string& text);
