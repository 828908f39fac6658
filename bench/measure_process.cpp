// Runs a program and reports its CPU time and peak resident memory:
//   measure_process REPORT FOLDER PROGRAM ARGS...
// writes "USER_US SYSTEM_US MAX_RSS_KIB" to REPORT and exits with the
// program's status. It stands between the benchmark and the measured
// process because a process keeps the peak memory of whatever it was
// before exec: started straight from the large benchmark process, the
// measured one would report the benchmark's size as its own.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: measure_process REPORT FOLDER PROGRAM ARGS...\n");
    return 2;
  }
  pid_t pid = fork();
  if (pid < 0) return 2;
  if (pid == 0) {
    if (chdir(argv[2]) != 0) _exit(127);
    execv(argv[3], argv + 3);
    _exit(127);
  }
  int status = 0;
  struct rusage usage {};
  if (wait4(pid, &status, 0, &usage) != pid) return 2;
  FILE* report = std::fopen(argv[1], "w");
  if (!report) return 2;
  std::fprintf(report, "%lld %lld %ld\n",
               static_cast<long long>(usage.ru_utime.tv_sec) * 1000000 + usage.ru_utime.tv_usec,
               static_cast<long long>(usage.ru_stime.tv_sec) * 1000000 + usage.ru_stime.tv_usec,
               usage.ru_maxrss);
  std::fclose(report);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 2;
}
