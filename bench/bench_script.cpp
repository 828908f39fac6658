#include "bench/bench_script.h"

#include "platform/sjis.h"

namespace {

const char16_t* const kLines[] = {
    u"連結器\t-10.500000\t10.500000",
    u"台車\t0\t-7.250000\t回転",
    u"速度\t130",
    u"振り子\t5.5\t1",
    u"運転台\t9.1\t1.2\t-0.4\t\t-1.0",
    u"// a comment line",
    u"ヘッドライト\tLED\t10.0\t1.1\t0.3\t1.5",
    u"車体反射\t0.25",
    u"",
    u"ギャップ間隔\t12.5\t25",
};

}  // namespace

std::string BenchScript(int lines) {
  std::u16string text = u"BeginHeader\r\nSECTION\r\nID\t9999\r\nEndHeader\r\nBeginSetting\r\n";
  for (int i = 5; i < lines - 1; ++i) {
    text += kLines[i % (sizeof kLines / sizeof kLines[0])];
    text += u"\r\n";
  }
  text += u"EndSetting\r\n";
  std::string script;
  Utf16ToSjis(text, script);
  return script;
}
