// Watches a set of files on a thread of its own and says when a save among
// them has settled, so a long-running program can rebuild without its own
// loop ever waiting on the files.
#pragma once
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class LiveWatch {
 public:
  // `on_settled` runs on the watching thread once per settled burst of
  // changes (see SaveSettler); it must only hand the news on.
  LiveWatch(std::function<void()> on_settled, int quiet_ms, int longest_ms);
  // Stops the thread; returns within one look (at most kLookMs).
  ~LiveWatch();
  LiveWatch(const LiveWatch&) = delete;
  LiveWatch& operator=(const LiveWatch&) = delete;

  // Replaces the watched files (absolute paths); empty watches nothing.
  // Taken up by the thread at its next look.
  void SetFiles(std::vector<std::u16string> files);

  // The longest single wait of the thread, which bounds how long stopping
  // and taking up new files can take.
  static constexpr int kLookMs = 100;

 private:
  void Run();

  std::function<void()> on_settled_;
  int quiet_ms_;
  int longest_ms_;
  std::mutex mutex_;
  std::vector<std::u16string> files_;  // guarded by mutex_
  bool files_new_ = false;             // guarded by mutex_
  std::atomic<bool> stop_{false};
  std::thread thread_;
};
