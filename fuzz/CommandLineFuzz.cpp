// The Windows-style command-line splitter of the Linux build: any line splits without leaving
// it, the program path is the line's first word, and no argument holds more bytes than the line.
#include <string>

#include "fuzz/FuzzCheck.h"
#include "platform/CommandLine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string line(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> words = vt::SplitCommandLine(line);
  size_t total = 0;
  for (const std::string& w : words) total += w.size();
  FUZZ_CHECK(total <= line.size());
  if (!line.empty() && line[0] != '"' && line[0] != ' ' && line[0] != '\t' && !words.empty()) {
    const size_t end = line.find_first_of(" \t");
    FUZZ_CHECK(words[0] == line.substr(0, end));
  }
  return 0;
}
