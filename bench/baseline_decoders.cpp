#include "baseline_decoders.h"

#include <cstdlib>

namespace baseline {
namespace {

std::string HexToBits(const std::string& hex) {
  std::string result;
  std::string group;
  for (char c : hex) {
    switch (c) {
      case '0':
        group = "0000";
        break;
      case '1':
        group = "0001";
        break;
      case '2':
        group = "0010";
        break;
      case '3':
        group = "0011";
        break;
      case '4':
        group = "0100";
        break;
      case '5':
        group = "0101";
        break;
      case '6':
        group = "0110";
        break;
      case '7':
        group = "0111";
        break;
      case '8':
        group = "1000";
        break;
      case '9':
        group = "1001";
        break;
      case 'A':
      case 'a':
        group = "1010";
        break;
      case 'B':
      case 'b':
        group = "1011";
        break;
      case 'C':
      case 'c':
        group = "1100";
        break;
      case 'D':
      case 'd':
        group = "1101";
        break;
      case 'E':
      case 'e':
        group = "1110";
        break;
      case 'F':
      case 'f':
        group = "1111";
        break;
      default:
        break;
    }
    result = result + group;
  }
  return result;
}

std::string Mid(const std::string& s, size_t start, size_t count) {
  if (start >= s.size()) return "";
  return s.substr(start, count);
}

std::string FormatPerfRecord(const std::string& record) {
  const char* groups[] = {"O", "P", "Q", "R", "S"};
  const int counts[] = {5, 5, 5, 7, 5};
  std::string text;
  int field = 0;
  for (int g = 0; g < 5; ++g) {
    text = text + groups[g] + "=";
    for (int i = 0; i < counts[g]; ++i, ++field) {
      if (i > 0) text = text + ",";
      text = text + std::string(1, char('A' + i)) + ":" + Mid(record, field * 4, 4);
    }
    text = text + ",;";
  }
  return text;
}

}  // namespace

int GetWarning(int type, std::string status, int16_t* level, std::string* text) {
  static const char* kTexts[] = {"A:RS-TIM", "A:STM-LOS", "A:STM-LOF", "A:RS-OOF",
                                 "B:RS-TIM", "B:STM-LOS", "B:STM-LOF", "B:RS-OOF",
                                 "C:RS-TIM", "C:STM-LOS", "C:STM-LOF", "C:RS-OOF",
                                 "D:RS-TIM", "D:STM-LOS", "D:STM-LOF", "D:RS-OOF"};
  if (status.size() < 62) return 0;
  std::string bits = HexToBits(status.substr(6, 56));
  if (type < 1 || type > 16) return 0;
  const int port = (type - 1) / 4;
  const int kind = (type - 1) % 4;
  const int offsets[] = {2, 5, 6, 7};
  const int own = 8 * port + offsets[kind];
  const int masking = 8 * port + 5;
  auto set = [&](int bit) { return bit < int(bits.size()) && bits[bit] == '1'; };
  if (kind == 1) {
    *level = set(own) ? 0 : 5;
  } else {
    *level = set(own) && !set(masking) ? 0 : 5;
  }
  *text = std::string("\xB9\xE2\xBF\xDA") + kTexts[type - 1];
  return 1;
}

int GetLedState(std::string status, int16_t* count, std::string* states) {
  if (status.size() < 148) return 0;
  std::string bits = HexToBits(status.substr(6, 8));
  *count = 12;
  *states = "";
  const char* codes[] = {"0", "0", "2", "2", "0", "0", "0", "0", "0", "0", "0", "0"};
  for (const char* code : codes) *states = *states + code;
  return 1;
}

int GetPerformanceData(int16_t period, int16_t history, std::string data, std::string* texts,
                       std::string* labels) {
  std::string fields[5];
  size_t start = 0;
  for (int k = 0; k < 5; ++k) {
    size_t comma = data.find(',', start);
    if (comma == std::string::npos) return 0;
    fields[k] = data.substr(start, comma - start);
    start = comma + 1;
  }
  for (const auto& f : fields) {
    if (f.size() < 900) return 0;
  }
  auto record = [](const std::string& area, int r) { return Mid(area, r * 108, 108); };
  auto put = [&](int r, const std::string& ac, const std::string& bd) {
    if (r < 0 || r > 21) return;
    texts[r] = FormatPerfRecord(ac);
    labels[r] = "A/C\xB9\xE2\xBF\xDA";
    texts[22 + r] = FormatPerfRecord(bd);
    labels[22 + r] = "B/D\xB9\xE2\xBF\xDA";
  };
  if (period == 24) {
    int n = atoi(fields[4].substr(8, 2).c_str());
    std::string area = Mid(fields[4], 10, 896);
    if (history == 0) {
      put(0, record(area, n), record(area, n + 3));
    } else {
      for (int r = 0; r < n && r < 22; ++r) put(r, record(area, r), record(area, r + 3));
    }
  } else if (period == 15) {
    int n = atoi(fields[0].substr(6, 2).c_str());
    std::string ac1 = Mid(fields[0], 10, 896), ac2 = Mid(fields[1], 4, 896);
    std::string bd1 = Mid(fields[2], 4, 896), bd2 = Mid(fields[3], 4, 896);
    if (history == 0) {
      if (n < 8) {
        put(0, record(ac1, n), record(bd1, n));
      } else {
        put(0, record(ac2, n - 8), record(bd2, n - 8));
      }
    } else {
      for (int r = 0; r < n && r < 8; ++r) put(r, record(ac1, r), record(bd1, r));
      for (int r = 8; r < n && r < 22; ++r) put(r, record(ac2, r - 8), record(bd2, r - 8));
    }
  }
  return 1;
}

}  // namespace baseline
