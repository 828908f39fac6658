#!/usr/bin/env python3
"""Mutation sampler: how many small faults in the portable code do the native
tests catch?

  tools/mutate.py --seed 1 --count 120 [--pick-only]   pick a sample and run it
  tools/mutate.py --plan PLAN.json                     run exactly those mutants again
  tools/mutate.py --compare BEFORE.json AFTER.json     kill rates over mutants in both

A mutant changes one line: a comparison (< <=, > >=, == !=), an arithmetic
operator (+ -, * /), an integer constant (+1 or -1), a dropped assignment or
call statement, or two adjacent simple call arguments swapped. The plan file
keeps each mutant as the lines around it (enough to be unique in the tree) and
the changed line, so a plan still applies after files move between folders; a
mutant whose lines are no longer found exactly once is "gone" and counts in no
rate. Each worker owns a copy of the tree with its own incremental native
build (WORK/copyN/, built once, then kept in step with the tree); a mutant is
applied there, rebuilt, the native tests run with a time limit, and the file
restored. Statuses: killed, timed out (counted as killed), survived, did not
compile (counted apart), gone. The compiler cache variables of the calling
shell pass through (`source /work/ccache.env` first where there is one).
"""
import argparse
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import threading
import time

from mutant_picker import SKIPPED_DIRS, Tree, pick, read_text, write_text

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def sync_copy(root, copy):
    """Makes copy hold the tree's files (build and .git folders left out),
    touching only the files that differ, so its build stays incremental."""
    wanted = set()
    for folder, dirs, files in os.walk(root):
        dirs[:] = [d for d in dirs if d not in SKIPPED_DIRS]
        for name in files:
            relative = os.path.relpath(os.path.join(folder, name), root)
            wanted.add(relative)
            source, target = os.path.join(root, relative), os.path.join(copy, relative)
            with open(source, "rb") as f:
                data = f.read()
            if os.path.exists(target):
                with open(target, "rb") as f:
                    if f.read() == data:
                        continue
            os.makedirs(os.path.dirname(target), exist_ok=True)
            with open(target, "wb") as f:
                f.write(data)
            shutil.copymode(source, target)
    for folder, dirs, files in os.walk(copy):
        dirs[:] = [d for d in dirs if d not in SKIPPED_DIRS]
        for name in files:
            relative = os.path.relpath(os.path.join(folder, name), copy)
            if relative not in wanted:
                os.remove(os.path.join(copy, relative))


class Worker:
    """One copy of the tree with its own build folder; runs one mutant at a time."""

    def __init__(self, copy, timeout, build_timeout):
        self.copy = copy
        self.build = os.path.join(copy, "build", "native")
        self.logs = os.path.join(copy, "build")
        self.timeout = timeout
        self.build_timeout = build_timeout
        self.process = None
        self.stopping = False

    def run(self, command, log, timeout):
        """Runs command in a session of its own, output to log; its exit status,
        or None when it ran out of time (then the whole session is killed)."""
        with open(log, "wb") as out:
            self.process = subprocess.Popen(command, stdout=out, stderr=subprocess.STDOUT,
                                            stdin=subprocess.DEVNULL, start_new_session=True)
            try:
                return self.process.wait(timeout=timeout)
            except subprocess.TimeoutExpired:
                self.kill()
                self.process.wait(timeout=30)
                return None
            finally:
                self.process = None

    def kill(self):
        process = self.process
        if process is not None:
            try:
                os.killpg(process.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass

    def prepare(self, root):
        os.makedirs(self.logs, exist_ok=True)
        sync_copy(root, self.copy)
        if not os.path.exists(os.path.join(self.build, "CMakeCache.txt")):
            code = self.run(["cmake", "-S", self.copy, "-B", self.build, "-DCMAKE_BUILD_TYPE=RelWithDebInfo"],
                            os.path.join(self.logs, "configure.log"), self.build_timeout)
            if code != 0:
                return "configure failed: see " + os.path.join(self.logs, "configure.log")
        if not self.compile():
            return "build failed: see " + os.path.join(self.logs, "build.log")
        status, failing = self.test()
        if status != "survived":
            return "the unchanged tests fail (%s %s): see %s" % (status, failing, os.path.join(self.logs, "test.log"))
        return None

    def compile(self):
        return self.run(["cmake", "--build", self.build, "--parallel", "1", "--target", "railwick", "railwick_tests"],
                        os.path.join(self.logs, "build.log"), self.build_timeout) == 0

    def test(self):
        """Runs the native tests: (status, first failing test or "")."""
        log = os.path.join(self.logs, "test.log")
        code = self.run([os.path.join(self.build, "tests", "railwick_tests"), "--gtest_fail_fast",
                         "--gtest_color=no"], log, self.timeout)
        with open(log, "rb") as f:
            output = f.read().decode("utf-8", "replace")
        failed = re.findall(r"^\[  FAILED  \] (\S+\.\S+)", output, re.M)
        running = re.findall(r"^\[ RUN      \] (\S+)", output, re.M)
        last = failed[0] if failed else (running[-1] if running else "")
        if code is None:
            return "timed out", last
        if code == 0:
            return "survived", ""
        return "killed", last if failed or code > 0 else "%s (signal %d)" % (last, -code)

    def mutate(self, mutant):
        """Applies, builds and tests one mutant; the file is restored after."""
        result = {key: mutant[key] for key in ("id", "kind", "snippet", "offset", "replacement")}
        result.update(file=mutant["file"], line=mutant["line"], status="gone", failing_test="")
        hits = Tree(self.copy).find(mutant["snippet"])
        if len(hits) != 1:
            result["reason"] = "not found" if not hits else "found %d times" % len(hits)
            return result
        relative, first = hits[0]
        index = first + mutant["offset"]
        result.update(file=relative, line=index + 1)
        path = os.path.join(self.copy, relative)
        original = read_text(path)
        lines = original.split("\n")
        old = lines[index]
        indent = old[:len(old) - len(old.lstrip())]
        lines[index] = indent + mutant["replacement"] if mutant["replacement"] else ""
        result["original"] = old.strip()
        started = time.monotonic()
        try:
            write_text(path, "\n".join(lines))
            if not self.compile():
                result["status"] = "did not compile"
            else:
                result["status"], result["failing_test"] = self.test()
            if self.stopping:
                result["status"], result["failing_test"] = "stopped", ""
        finally:
            write_text(path, original)
        result["seconds"] = round(time.monotonic() - started, 1)
        return result


def counted(results):
    killed = sum(r["status"] in ("killed", "timed out") for r in results)
    survived = sum(r["status"] == "survived" for r in results)
    return killed, survived


def rate_text(killed, survived):
    total = killed + survived
    return "%d of %d killed (%.1f %%)" % (killed, total, 100.0 * killed / total) if total else "nothing counted"


def summary(results):
    lines = []
    for status in ("killed", "timed out", "survived", "did not compile", "gone", "stopped"):
        n = sum(r["status"] == status for r in results)
        if n:
            lines.append("%-16s %d" % (status + ":", n))
    lines.append("kill rate: " + rate_text(*counted(results)))
    survivors = [r for r in results if r["status"] == "survived"]
    if survivors:
        lines.append("survivors:")
        for r in survivors:
            lines.append("  %s:%d: %s: %s  ->  %s" % (r["file"], r["line"], r["kind"], r.get("original", ""),
                                                      r["replacement"] or "(line dropped)"))
    return "\n".join(lines) + "\n"


def save(results_path, plan, results):
    ordered = sorted(results.values(), key=lambda r: [m["id"] for m in plan].index(r["id"]))
    with open(results_path + ".tmp", "w", encoding="utf-8", errors="surrogateescape") as f:
        json.dump({"mutants": ordered}, f, indent=1, ensure_ascii=False)
    os.replace(results_path + ".tmp", results_path)
    with open(os.path.splitext(results_path)[0] + ".txt", "w", encoding="utf-8", errors="surrogateescape") as f:
        f.write(summary(ordered))
    return ordered


def run_plan(plan, args):
    workers = [Worker(os.path.join(args.work, "copy%d" % (n + 1)), args.timeout, args.build_timeout)
               for n in range(args.workers)]
    problems = [None] * len(workers)

    def prepare(n):
        problems[n] = workers[n].prepare(ROOT)

    threads = [threading.Thread(target=prepare, args=(n,)) for n in range(len(workers))]
    print("preparing %d copies of the tree in %s" % (len(workers), args.work), flush=True)
    if not wait_all(threads, workers):
        return 130
    if any(problems):
        print("\n".join(p for p in problems if p), file=sys.stderr)
        return 2
    queue = list(plan)
    results = {}
    lock = threading.Lock()

    def work(worker):
        while not worker.stopping:
            with lock:
                if not queue:
                    return
                mutant = queue.pop(0)
            result = worker.mutate(mutant)
            with lock:
                results[mutant["id"]] = result
                save(args.results, plan, results)
                print("[%d/%d] %s %s:%d %s%s" % (len(results), len(plan), result["status"], result["file"],
                                                  result["line"], result["kind"],
                                                  " (%s)" % result["failing_test"] if result["failing_test"] else ""),
                      flush=True)

    threads = [threading.Thread(target=work, args=(w,)) for w in workers]
    finished = wait_all(threads, workers)
    ordered = save(args.results, plan, results)
    sys.stdout.write(summary(ordered))
    print("results: %s (and %s)" % (args.results, os.path.splitext(args.results)[0] + ".txt"))
    return 0 if finished else 130


def wait_all(threads, workers):
    """Starts and joins the threads; Ctrl-C stops the workers' processes (their
    files are still restored). False when interrupted."""
    for t in threads:
        t.start()
    try:
        while any(t.is_alive() for t in threads):
            for t in threads:
                t.join(timeout=0.5)
        return True
    except KeyboardInterrupt:
        for w in workers:
            w.stopping = True
            w.kill()
        for t in threads:
            t.join()
        return False


def compare(before_path, after_path):
    with open(before_path, encoding="utf-8", errors="surrogateescape") as f:
        before = {r["id"]: r for r in json.load(f)["mutants"]}
    with open(after_path, encoding="utf-8", errors="surrogateescape") as f:
        after = {r["id"]: r for r in json.load(f)["mutants"]}
    scored = ("killed", "timed out", "survived")
    common = [i for i in before if i in after and before[i]["status"] in scored and after[i]["status"] in scored]
    k_before, s_before = counted([before[i] for i in common])
    k_after, s_after = counted([after[i] for i in common])
    print("mutants counted in both runs: %d (of %d before, %d after)" % (len(common), len(before), len(after)))
    print("before: " + rate_text(k_before, s_before))
    print("after:  " + rate_text(k_after, s_after))
    for i in common:
        if before[i]["status"] != "survived" and after[i]["status"] == "survived":
            r = after[i]
            print("no longer killed: %s:%d: %s: %s" % (r["file"], r["line"], r["kind"], r["replacement"] or "(dropped)"))
    return 1 if k_after < k_before else 0


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--seed", type=int, default=1, help="sample seed (default 1)")
    parser.add_argument("--count", type=int, default=120, help="mutants to pick (default 120)")
    parser.add_argument("--plan", help="run the mutants of this plan file instead of picking")
    parser.add_argument("--pick-only", action="store_true", help="write the plan file and stop")
    parser.add_argument("--compare", nargs=2, metavar=("BEFORE", "AFTER"), help="compare two results files")
    parser.add_argument("--work", default=os.path.join(ROOT, "build", "mutate"),
                        help="folder of the plan, results and tree copies (default build/mutate)")
    parser.add_argument("--results", help="results file (default WORK/results.json; a .txt summary beside)")
    parser.add_argument("--workers", type=int, default=2, help="mutants built and tested at once (default 2)")
    parser.add_argument("--timeout", type=int, default=300, help="seconds for one test run (default 300)")
    parser.add_argument("--build-timeout", type=int, default=3600, help="seconds for one build (default 3600)")
    args = parser.parse_args()
    # Ctrl-C or a kill stops the run with every copy's file restored, even
    # when started in the background (where SIGINT would be ignored).
    signal.signal(signal.SIGINT, signal.default_int_handler)
    signal.signal(signal.SIGTERM, signal.default_int_handler)
    if args.compare:
        return compare(*args.compare)
    args.work = os.path.abspath(args.work)
    os.makedirs(args.work, exist_ok=True)
    args.results = os.path.abspath(args.results or os.path.join(args.work, "results.json"))
    if args.plan:
        with open(args.plan, encoding="utf-8", errors="surrogateescape") as f:
            plan = json.load(f)["mutants"]
    else:
        plan = pick(ROOT, args.seed, args.count)
        plan_path = os.path.join(args.work, "plan.json")
        with open(plan_path, "w", encoding="utf-8", errors="surrogateescape") as f:
            json.dump({"seed": args.seed, "count": args.count, "mutants": plan}, f, indent=1, ensure_ascii=False)
        print("plan: %d mutants in %s" % (len(plan), plan_path))
        if args.pick_only:
            return 0
    return run_plan(plan, args)


if __name__ == "__main__":
    sys.exit(main())
