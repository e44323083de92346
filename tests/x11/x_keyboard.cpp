#include "x_keyboard.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QWidget>
#include <cstdio>
#include <vector>

namespace t740::test {
namespace {

constexpr char kKeyDelayMilliseconds[] = "15";

void RunXdotool(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), "xdotool");
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    execvp("xdotool", argv.data());
    _exit(127);
  }
  int status = -1;
  if (pid > 0) waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "xdotool " << arguments[1];
}

}  // namespace

void PressKeys(std::initializer_list<std::string> keys) {
  std::vector<std::string> arguments{"key", "--delay", kKeyDelayMilliseconds};
  arguments.insert(arguments.end(), keys.begin(), keys.end());
  RunXdotool(arguments);
}

void PressKey(const std::string& key, int times) {
  std::vector<std::string> arguments{"key", "--delay", kKeyDelayMilliseconds};
  for (int i = 0; i < times; ++i) arguments.push_back(key);
  if (times > 0) RunXdotool(arguments);
}

void TypeText(const std::string& text) {
  RunXdotool({"type", "--delay", kKeyDelayMilliseconds, text});
}

std::string XWindowName(QWidget* window) {
  const std::string command = "xdotool getwindowname " + std::to_string(window->winId());
  FILE* output = popen(command.c_str(), "r");
  if (!output) return std::string();
  std::string name;
  char buffer[256];
  while (fgets(buffer, sizeof buffer, output)) name += buffer;
  pclose(output);
  if (!name.empty() && name.back() == '\n') name.pop_back();
  return name;
}

}  // namespace t740::test
