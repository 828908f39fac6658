// railwick dump --json FILE: the record listing as one JSON document.
#include <cstdio>

#include "cli/cli.h"
#include "cli/json_text.h"
#include "cli/opened_data_file.h"
#include "compiler/record_layouts.h"
#include "compiler/record_walker.h"

namespace {

std::string FieldJson(const DecodedField& f) {
  std::string value;
  switch (f.kind) {
    case FieldKind::kText:
      value = JsonString(f.text);
      break;
    case FieldKind::kF32:
      value = JsonReal(f.real, f.display);
      break;
    case FieldKind::kU16:
    case FieldKind::kInt32:
    case FieldKind::kFile:
    case FieldKind::kTime64:
      value = std::to_string(f.integer);
      break;
    default:  // codes and flags: the number, and what it means
      value = std::to_string(f.integer) + ",\"text\":" + JsonString(f.display);
  }
  return "{\"name\":" + JsonString(f.label) + ",\"value\":" + value + "}";
}

std::string RecordJson(const RecordView& record) {
  char head[96];
  std::snprintf(head, sizeof head, "{\"offset\":%zu,\"tag\":%u,\"tag_hex\":\"0x%X\",\"length\":%u", record.offset,
                static_cast<unsigned>(record.tag), static_cast<unsigned>(record.tag),
                static_cast<unsigned>(record.length));
  std::string json = head;
  const RecordLayout* layout = FindRecordLayout(record.tag);
  json += ",\"name\":" + JsonString(layout ? layout->name : "(unknown record)");
  if (layout) {
    std::vector<DecodedField> fields;
    std::string error;
    const bool fits = DecodeRecordFieldList(*layout, record, fields, error);
    json += ",\"fields\":[";
    for (size_t i = 0; i < fields.size(); ++i) json += (i ? "," : "") + FieldJson(fields[i]);
    json += "]";
    if (!fits) json += ",\"error\":" + JsonString(error);
  }
  return json + "}";
}

}  // namespace

int CliDumpJson(const DataFileOptions& options) {
  OpenedDataFile opened;
  OpenDataFileArgument(options.file, opened);
  if (!opened.readable || opened.stream.empty()) {
    PrintDataFileFaults(opened, options.file);
    return opened.readable ? kExitFailed : kExitUsage;
  }
  std::printf("{\"file\":%s,\"bytes\":%zu,\"seed\":%u,\"md5\":\"%s\",\"stream_offset\":%zu,\"records\":[\n",
              JsonString(opened.path).c_str(), opened.file_bytes, static_cast<unsigned>(opened.header.seed),
              Md5Hex(opened.header.digest).c_str(), kDataFileHeaderBytes);
  bool first = true;
  for (const RecordView& record : opened.records) {
    std::printf("%s%s", first ? "" : ",\n", RecordJson(record).c_str());
    first = false;
  }
  // A record that does not fit carries its "error"; the framing has its own key.
  std::printf("\n],\"framing\":%s}\n",
              opened.framing.empty() ? "\"ok\"" : JsonString(opened.framing).c_str());
  PrintDataFileFaults(opened, opened.path);
  return opened.Sound() ? kExitOk : kExitFailed;
}
