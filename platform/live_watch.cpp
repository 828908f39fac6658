#include "platform/live_watch.h"

#include <chrono>

#include "platform/file_watch.h"
#include "platform/save_settler.h"

namespace {

int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

LiveWatch::LiveWatch(std::function<void()> on_settled, int quiet_ms, int longest_ms)
    : on_settled_(std::move(on_settled)), quiet_ms_(quiet_ms), longest_ms_(longest_ms) {
  thread_ = std::thread([this] { Run(); });
}

LiveWatch::~LiveWatch() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

void LiveWatch::SetFiles(std::vector<std::u16string> files) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (files == files_) return;
  files_ = std::move(files);
  files_new_ = true;
}

void LiveWatch::Run() {
  // Folders that cannot be watched are looked at through the stamps alone;
  // the program has nowhere to print them.
  std::unique_ptr<FileWatcher> watcher = CreateFileWatcher();
  SaveSettler settler(quiet_ms_, longest_ms_);
  std::vector<std::u16string> changed;
  while (!stop_) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (files_new_) {
        watcher->Watch(files_);
        files_new_ = false;
      }
    }
    changed.clear();
    const int look = settler.NextLookMs(NowMs(), kLookMs);
    const FileWatcher::Event event = watcher->Wait(look, &changed);
    if (event == FileWatcher::Event::kChanged) {
      settler.Change(NowMs());
    } else if (event != FileWatcher::Event::kTimeout) {
      // An interrupt meant for a console command, or a failed wait: never spin.
      std::this_thread::sleep_for(std::chrono::milliseconds(kLookMs));
    }
    if (settler.Due(NowMs())) on_settled_();
  }
}
