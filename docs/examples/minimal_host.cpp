// minimal_host: loads the t740 plug-in the way a network-management host
// does, decodes a card's status texts with it, and creates, sets up and
// releases a card object. With --configure it also opens the card's
// configuration window against a built-in card that answers every read and
// accepts every write (this needs a display).
//
//   minimal_host [--plugin PATH] [--configure]
#include <dlfcn.h>
#include <iconv.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <thread>

#include "t740/abi.h"

#ifndef T740_PLUGIN
// Without a path from the build, the loader's search finds the plug-in.
#define T740_PLUGIN "libt740.so.1"
#endif

namespace {

struct Exports {
  decltype(&::CreateObject) createObject;
  decltype(&::GetWarning) getWarning;
  decltype(&::GetLedState) getLedState;
  decltype(&::GetPerformanceData) getPerformanceData;
};

template <typename Function>
bool Resolve(void* library, const char* name, Function& slot) {
  void* symbol = dlsym(library, name);
  if (!symbol) std::fprintf(stderr, "minimal_host: the plug-in lacks %s\n", name);
  slot = reinterpret_cast<Function>(symbol);
  return symbol != nullptr;
}

// The plug-in's texts are GBK; this terminal is assumed to be UTF-8.
std::string ToUtf8(std::string_view gbk) {
  iconv_t converter = iconv_open("UTF-8", "GBK");
  if (converter == reinterpret_cast<iconv_t>(-1)) return std::string(gbk);
  std::string utf8(gbk.size() * 2, '\0');
  char* in = const_cast<char*>(gbk.data());
  size_t inLeft = gbk.size();
  char* out = utf8.data();
  size_t outLeft = utf8.size();
  iconv(converter, &in, &inLeft, &out, &outLeft);
  iconv_close(converter);
  utf8.resize(utf8.size() - outLeft);
  return utf8;
}

// Status texts as the host's transport fetches them from the card. Alarm
// status: a six-character head and 28 status bytes, ports A to D first;
// port A reports loss of signal (0x04), port B a trace mismatch (0x20).
std::string AlarmStatus() {
  return "1C0000"
         "04"
         "20"
         "00"
         "00" +
         std::string(48, '0');
}

// LED status: head and 71 status bytes, 148 characters in all.
std::string LedStatus() {
  return "470000" + std::string(142, '0');
}

// Performance data: five comma-ended fields of at least 900 characters.
// The 15-minute count in the first field is 00, so record 0 of ports A/C
// (first field) and B/D (third field) is the current one.
std::string PerformanceData() {
  auto area = [](std::string_view firstCounter) {
    std::string records = std::string(firstCounter) + std::string(104, '0');
    records.resize(896, '0');
    return records;
  };
  std::string data;
  data +=
      "000000"
      "00"
      "00" +
      area("0003") + ",";
  data += "0000" + area("0000") + ",";
  data += "0000" + area("0384") + ",";
  data += "0000" + area("0000") + ",";
  data +=
      "000000"
      "00"
      "00" +
      area("0000") + ",";
  return data;
}

void ShowAlarms(const Exports& plugin) {
  std::printf("Alarms\n");
  for (int type = 1; type <= 16; ++type) {
    int16_t level = -1;
    CText text;
    if (plugin.getWarning(type, CText(AlarmStatus()), CText(), &level, &text) != 1) {
      std::printf("  %2d rejected\n", type);
      continue;
    }
    // Level 0: the alarm is present; 5: it is not.
    std::printf("  %2d %-16s %s\n", type, ToUtf8(text.view()).c_str(),
                level == 0 ? "PRESENT" : "clear");
  }
  int16_t level = -1;
  CText text;
  std::printf("  type 17 %s\n",
              plugin.getWarning(17, CText(AlarmStatus()), CText(), &level, &text) == 0
                  ? "rejected, outputs untouched"
                  : "accepted");
}

void ShowLeds(const Exports& plugin) {
  int16_t count = 0;
  CText states;
  if (plugin.getLedState(0, CText(LedStatus()), &count, &states) != 1) {
    std::printf("LEDs rejected\n");
    return;
  }
  std::printf("LEDs (%d): %s\n", count, states.c_str());
}

void ShowPerformance(const Exports& plugin) {
  // Entries 0-21 are ports A/C, 22-43 ports B/D.
  std::array<CText, 44> texts;
  std::array<CText, 44> labels;
  if (plugin.getPerformanceData(0, 15, 0, CText(PerformanceData()), texts.data(), labels.data(),
                                CText()) != 1) {
    std::printf("Performance data rejected\n");
    return;
  }
  std::printf("Performance, 15 minutes, current\n");
  for (size_t entry : {0, 22}) {
    std::printf("  %s %s\n", ToUtf8(labels[entry].view()).c_str(), texts[entry].c_str());
  }
}

std::thread::id uiThread;

// The read answers of the built-in card: a head and data, as long as each
// group's shortest complete answer.
std::string ReadAnswer(std::string_view oid) {
  const std::string_view group = oid.substr(oid.rfind('.'));
  if (group == ".1")
    return "000000"
           "1021";  // software V1.0, hardware V2.1
  if (group == ".11")
    return "010000"
           "00";  // no loopback
  if (group == ".12") return "F00000" + std::string(434, '0');
  if (group == ".13") return "3C0000" + std::string(114, '0');
  if (group == ".51") return "D80000" + std::string(432, '0');
  return std::string();
}

// The request function: synchronous, and called from the plug-in's poll
// worker as well as from the thread that called OpenConfiguration.
int CardRequest(int operation, CText ip, CText oid, CText, CText value, CText* response) {
  const bool worker = std::this_thread::get_id() != uiThread;
  std::fprintf(stderr, "%s thread: %s %s %s %s\n", worker ? "worker" : "ui",
               operation == 0 ? "read" : "write", ip.c_str(), oid.c_str(), value.c_str());
  // A write succeeds only when the response is exactly "1".
  *response = operation == 0 ? CText(ReadAnswer(oid.view())) : CText("1");
  return 0;
}

void DriveCardObject(const Exports& plugin, bool configure) {
  CCardBase* card = nullptr;
  plugin.createObject(0, &card);
  if (!card) {
    std::printf("Card object: none (out of memory)\n");
    return;
  }
  card->SetRequestFunction(&CardRequest);
  card->SetHostValue(0, 0);
  std::printf("Card object: created, request function set\n");
  if (configure) {
    static char deviceType[] = "t740";
    static char location[] = "Room 3, rack 2";
    HostDeviceRecord record{};
    record.deviceType = deviceType;
    record.location = location;
    uiThread = std::this_thread::get_id();
    // Blocks until the operator closes the window.
    card->OpenConfiguration(nullptr, CText("192.168.1.100"), CText("0107"), &record);
    std::printf("Configuration window closed\n");
  }
  card->Release();
  std::printf("Card object: released\n");
}

}  // namespace

int main(int argc, char** argv) {
  const char* path = T740_PLUGIN;
  bool configure = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--plugin") == 0 && i + 1 < argc) {
      path = argv[++i];
    } else if (std::strcmp(argv[i], "--configure") == 0) {
      configure = true;
    } else {
      std::fprintf(stderr, "usage: minimal_host [--plugin PATH] [--configure]\n");
      return 2;
    }
  }
  // The plug-in stays loaded until the process ends: the user interface it
  // brings does not survive being unloaded.
  void* library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    std::fprintf(stderr, "minimal_host: %s\n", dlerror());
    return 1;
  }
  Exports plugin{};
  if (!Resolve(library, "CreateObject", plugin.createObject) ||
      !Resolve(library, "GetWarning", plugin.getWarning) ||
      !Resolve(library, "GetLedState", plugin.getLedState) ||
      !Resolve(library, "GetPerformanceData", plugin.getPerformanceData)) {
    return 1;
  }
  std::printf("Plug-in %s\n", path);
  ShowAlarms(plugin);
  ShowLeds(plugin);
  ShowPerformance(plugin);
  DriveCardObject(plugin, configure);
  return 0;
}
