// The floor a whole Make-data process is measured against: a process that
// only reads the given input files whole and writes a file of the given size.
//   read_write_baseline OUTPUT SIZE INPUT...
#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: read_write_baseline OUTPUT SIZE INPUT...\n");
    return 2;
  }
  size_t read_bytes = 0;
  std::vector<char> buffer;
  for (int i = 3; i < argc; ++i) {
    FILE* in = std::fopen(argv[i], "rb");
    if (!in) return 1;
    std::fseek(in, 0, SEEK_END);
    buffer.resize(static_cast<size_t>(std::ftell(in)));
    std::fseek(in, 0, SEEK_SET);
    read_bytes += std::fread(buffer.data(), 1, buffer.size(), in);
    std::fclose(in);
  }
  std::vector<char> out(std::strtoul(argv[2], nullptr, 10), static_cast<char>(read_bytes));
  FILE* f = std::fopen(argv[1], "wb");
  if (!f) return 1;
  bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
  return std::fclose(f) == 0 && ok ? 0 : 1;
}
