// A host that releases its card object and unloads the plug-in right
// after a configuration window finds no thread of the plug-in left: the
// worker that was still finishing its last pause has been joined.
#include <dirent.h>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdlib>
#include <fstream>
#include <string>

#include "ids/config_window_ids.h"
#include "t740/abi.h"

namespace {

namespace ids = t740::ids;

std::string ThreadName(const std::string& task) {
  std::ifstream comm("/proc/self/task/" + task + "/comm");
  std::string name;
  std::getline(comm, name);
  return name;
}

// Threads that carry the process's own name: the main thread and the
// unnamed ones it started, such as the plug-in's workers (Qt names its own).
size_t UnnamedThreadCount() {
  const std::string own = ThreadName(std::to_string(getpid()));
  size_t count = 0;
  if (DIR* tasks = opendir("/proc/self/task")) {
    while (const dirent* entry = readdir(tasks)) {
      if (entry->d_name[0] != '.' && ThreadName(entry->d_name) == own) ++count;
    }
    closedir(tasks);
  }
  return count;
}

int AnswerNothing(int, CText, CText, CText, CText, CText*) {
  return 0;
}

// Plays the operator: OK on every message box, Exit as soon as the
// configuration window shows.
void PressExitWhenShown(QTimer& timer) {
  QObject::connect(&timer, &QTimer::timeout, [] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return;
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      box->accept();
    } else if (modal->objectName() == QString::number(ids::config_window::kTemplate)) {
      const QString exitName = QString::number(ids::config_window::kExit);
      if (auto* exit = modal->findChild<QAbstractButton*>(exitName)) exit->click();
    }
  });
  timer.start(5);
}

TEST(PluginUnload, LeavesNoWorkerBehind) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  int argc = 1;
  char name[] = "plugin_unload_test";
  char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  const size_t threadsBefore = UnnamedThreadCount();

  void* library = dlopen(T740_PLUGIN, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  auto create = reinterpret_cast<decltype(&::CreateObject)>(dlsym(library, "CreateObject"));
  ASSERT_NE(create, nullptr);
  CCardBase* card = nullptr;
  ASSERT_EQ(create(0, &card), 1);
  card->SetRequestFunction(&AnswerNothing);
  QTimer operatorTimer;
  PressExitWhenShown(operatorTimer);
  HostDeviceRecord record{};
  card->OpenConfiguration(nullptr, CText("10.1.2.3"), CText("0105"), &record);
  operatorTimer.stop();
  card->Release();

  EXPECT_EQ(dlclose(library), 0);
  ASSERT_EQ(dlopen(T740_PLUGIN, RTLD_NOW | RTLD_NOLOAD), nullptr) << "the library stayed loaded";
  EXPECT_EQ(UnnamedThreadCount(), threadsBefore);
}

}  // namespace
