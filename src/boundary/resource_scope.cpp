#include "boundary/resource_scope.h"

#include <QApplication>
#include <QLocale>
#include <QTranslator>

// Outside any namespace, as Qt's resource macros require.
static void RegisterPluginResources() {
  Q_INIT_RESOURCE(t740);
  Q_INIT_RESOURCE(t740_i18n);
}
static void UnregisterPluginResources() {
  Q_CLEANUP_RESOURCE(t740_i18n);
  Q_CLEANUP_RESOURCE(t740);
}

namespace t740 {
namespace {

int argumentCount = 1;
char applicationName[] = "t740";
char* arguments[] = {applicationName, nullptr};

}  // namespace

bool ResourceScope::EnglishLocale() {
  return QLocale::system().language() == QLocale::English;
}

ResourceScope::ResourceScope() {
  if (!QApplication::instance()) {
    ownApplication_ = std::make_unique<QApplication>(argumentCount, arguments);
  }
  RegisterPluginResources();
  if (EnglishLocale()) {
    auto translator = std::make_unique<QTranslator>();
    if (translator->load(QStringLiteral(":/t740/i18n/t740_en.qm"))) {
      QCoreApplication::installTranslator(translator.get());
      translator_ = std::move(translator);
    }
  }
}

ResourceScope::~ResourceScope() {
  if (translator_) QCoreApplication::removeTranslator(translator_.get());
  translator_.reset();
  UnregisterPluginResources();
  ownApplication_.reset();
}

}  // namespace t740
