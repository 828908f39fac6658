// Option models: up to four option sets, each with one preview slot per
// kind of part, and the options switched on at the start.
#include "compiler/commands.h"
#include "compiler/model_conversion.h"
#include "compiler/tokens.h"

namespace {

struct OptionKind {
  const char16_t* word;
  uint32_t code;
  OptionPart part;
  TexturePage page;
};

constexpr TexturePage kMain = TexturePage::kMain, kSign = TexturePage::kSign;

// Compared in this order; the first equal word wins.
const OptionKind kOptionKinds[] = {
    {u"0", 0, kOptionB, kMain},      {u"1", 1, kOptionA, kMain},        {u"A", 10, kOptionA, kMain},
    {u"B", 11, kOptionB, kMain},     {u"I", 12, kOptionI, kMain},       {u"W", 13, kOptionW, kMain},
    {u"H", 14, kOptionH, kMain},     {u"A2", 15, kOptionA2, kMain},     {u"SIGN", 20, kOptionSign, kSign},
    {u"LED", 21, kOptionLed, kSign}, {u"NUMA", 22, kOptionNumA, kSign}, {u"NUMB", 23, kOptionNumB, kSign},
    {u"HLM", 30, kOptionHlm, kMain}, {u"TLM", 31, kOptionTlm, kMain},   {u"HLP", 32, kOptionHlp, kMain},
    {u"TLP", 33, kOptionTlp, kMain}, {u"IRE", 34, kOptionIre, kMain},
};

// The option named by the first argument, or null (reported) outside 1-4.
PreviewOption* OptionOf(VehicleCompiler& c) {
  const uint32_t number = static_cast<uint32_t>(TokenInt(c, 1));
  if (number < 1 || number > kMaxOptions) {
    LogError(c, u" ID範囲エラー [%s]\r\n", TokenText(c, 1));
    return nullptr;
  }
  PreviewOption& option = c.preview.options[number - 1];
  option.number = number;
  return &option;
}

// Converts the option part and appends its record: the option number, the
// kind code when `kind` is given, and the mesh.
void EmbedOptionPart(VehicleCompiler& c, uint32_t tag, PreviewOption& option, const OptionKind& kind,
                     bool with_kind_code, int model_arg) {
  const std::u16string path = ModelPath(c, TokenText(c, model_arg));
  if (!ConvertWithOneTexture(c, path, kind.page, &option.parts[kind.part])) return;
  std::vector<uint8_t> mesh;
  if (!ReadMeshForEmbedding(c, path, mesh)) return;
  WriteRecordHeader(c.stream, tag, static_cast<uint32_t>(mesh.size() + (with_kind_code ? 12 : 8)));
  WriteU32(c.stream, option.number);
  if (with_kind_code) WriteU32(c.stream, kind.code);
  WriteMesh(c, mesh);
}

}  // namespace

void CmdOptionModel(VehicleCompiler& c, uint32_t code) {
  PreviewOption* option = OptionOf(c);
  if (!option) return;
  const OptionKind plain = {u"", 0, kOptionB, kMain};
  EmbedOptionPart(c, code, *option, plain, false, 2);
}

void CmdOptionKindModel(VehicleCompiler& c, uint32_t) {
  PreviewOption* option = OptionOf(c);
  if (!option) return;
  for (const OptionKind& kind : kOptionKinds) {
    if (TokenIs(c, 2, kind.word)) {
      EmbedOptionPart(c, 0x130C, *option, kind, true, 3);
      return;
    }
  }
  LogError(c, u" 拡張オプションの種別エラー\r\n");
}

void CmdOptionInit(VehicleCompiler& c, uint32_t code) {
  const uint32_t number = static_cast<uint32_t>(TokenInt(c, 1));
  // The start flags cover option numbers 0-4.
  if (number > kMaxOptions) {
    LogError(c, u" ID範囲エラー [%s]\r\n", TokenText(c, 1));
    return;
  }
  c.preview.option_shown[number] = true;
  c.preview.last_initial_option = static_cast<int32_t>(number);
  WriteRecordHeader(c.stream, code, 4);
  WriteU32(c.stream, number);
}
