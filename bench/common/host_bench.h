#pragma once
// The setting of a benchmark that times requests to the host: its COUNT
// argument and a dgnhost serving an empty two-dimensional design file.
// dgnhost and dgnhost.rsc are taken from this program's directory, so the
// benchmarks run from anywhere.

#include <string>

namespace vornel::bench {

class HostBench {
 public:
  // `program` names the usage line and the design file, which lies in the
  // temporary folder with this process's id in its name.
  explicit HostBench(const std::string& program);
  HostBench(const HostBench&) = delete;
  HostBench& operator=(const HostBench&) = delete;
  // Closes the design file if still open and removes it.
  ~HostBench();

  // Line-buffers standard output, reads COUNT (default 1,000,000) and opens
  // the file through a new dgnhost. Returns the exit status to end with when
  // any of it fails (2: usage, 1: no host), after saying why; else 0.
  int start(int argc, char** argv);
  // Ends the host's session, so the file holds all the host wrote.
  void close();

  long count() const { return count_; }
  const std::string& file() const { return file_; }

 private:
  std::string program_;
  std::string file_;
  long count_ = 0;
  bool open_ = false;
};

}  // namespace vornel::bench
