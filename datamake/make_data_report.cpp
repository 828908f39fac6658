#include "datamake/make_data_report.h"

std::u16string DataFileOutcome(const std::u16string& written_file) {
  if (written_file.empty()) return u"データファイルは作成されていません。";
  return u"データファイルを作成しました：" + written_file;
}

size_t StoppingProblems(const std::vector<ProjectProblem>& problems) {
  size_t count = 0;
  for (const ProjectProblem& p : problems) count += p.warning ? 0 : 1;
  return count;
}

std::u16string ProblemsReport(const std::vector<ProjectProblem>& problems) {
  std::u16string count;
  for (size_t n = StoppingProblems(problems); count.empty() || n > 0; n /= 10)
    count.insert(count.begin(), static_cast<char16_t>(u'0' + n % 10));
  std::u16string text = u"データ作成を中止しました。問題が" + count + u"件あります。\r\n\r\n";
  for (const ProjectProblem& p : problems) text += ProblemLine(p) + u"\r\n";
  return text;
}
