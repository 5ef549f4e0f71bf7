// make_input.cpp - writes a benchmark input of N lines in one layout: a repeatable mix of valid,
// invalid and malformed SIPO numbers. Usage: make_input LAYOUT LINES FILE [utf16], LAYOUT one of
// single, delimited, quoted; utf16 writes the same lines as UTF-16 LE after its mark, as a
// spreadsheet's "Unicode text" export does.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::uint64_t state = 0x2545F4914F6CDD1DULL;

std::uint32_t Next() {
  state ^= state << 13;
  state ^= state >> 7;
  state ^= state << 17;
  return static_cast<std::uint32_t>(state >> 16);
}

// Nine random digits and a check digit; a wrong one for an invalid number.
std::string Number(bool valid) {
  static const int weights[] = {3, 7, 3, 1, 7, 3, 1, 7, 3};
  std::string digits;
  int sum = 0;
  for (int i = 0; i < 9; ++i) {
    const int d = static_cast<int>(Next() % 10);
    digits += static_cast<char>('0' + d);
    sum += weights[i] * d;
  }
  const int check = sum % 10 == 0 ? 0 : 10 - sum % 10;
  // With a remainder of 0 every tenth digit is valid, so such a prefix cannot be made invalid.
  const int tenth =
      valid || sum % 10 == 0 ? check : (check + 1 + static_cast<int>(Next() % 9)) % 10;
  digits += static_cast<char>('0' + tenth);
  return digits;
}

std::string Malformed() {
  switch (Next() % 4) {
    case 0:
      return "12345";
    case 1:
      return "";
    case 2:
      return " 1234567897";
    default:
      return "abcdefghi";
  }
}

std::string Cell() {
  const std::uint32_t kind = Next() % 100;
  if (kind < 60) return Number(true);
  if (kind < 85) return Number(false);
  return Malformed();
}

}  // namespace

// The Windows-1250 bytes of the lines in use here are Latin-1 too, so each byte is its unit.
void PutLine(std::FILE* out, const std::string& line, bool utf16) {
  if (!utf16) {
    std::fwrite(line.data(), 1, line.size(), out);
    return;
  }
  for (const char c : line) {
    std::fputc(static_cast<unsigned char>(c), out);
    std::fputc(0, out);
  }
}

int main(int argc, char** argv) {
  if (argc != 4 && !(argc == 5 && std::string(argv[4]) == "utf16")) {
    std::fprintf(stderr, "usage: make_input single|delimited|quoted LINES FILE [utf16]\n");
    return 2;
  }
  const bool utf16 = argc == 5;
  const std::string layout = argv[1];
  const unsigned long long lines = std::strtoull(argv[2], nullptr, 10);
  std::FILE* out = std::fopen(argv[3], "wb");
  if (out == nullptr) return 1;
  static char buffer[1 << 20];
  std::setvbuf(out, buffer, _IOFBF, sizeof buffer);
  if (utf16) std::fputs("\xFF\xFE", out);
  char line[128];
  for (unsigned long long i = 0; i < lines; ++i) {
    const std::string cell = Cell();
    if (layout == "single") {
      std::snprintf(line, sizeof line, "%s\r\n", cell.c_str());
    } else if (layout == "delimited") {
      std::snprintf(line, sizeof line, "%llu;%s;Nov\xE1k %u\r\n", i, cell.c_str(), Next() % 1000);
    } else {
      std::snprintf(line, sizeof line, "\"%llu\";\"%s\";\"Nov\xE1k %u\"\r\n", i, cell.c_str(),
                    Next() % 1000);
    }
    PutLine(out, line, utf16);
  }
  return std::fclose(out) == 0 ? 0 : 1;
}
