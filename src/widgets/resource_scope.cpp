#include "widgets/resource_scope.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "widgets/plugin_fonts.h"

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

std::unique_ptr<QTranslator> InstalledTranslator(const QString& file, const QString& directory) {
  auto translator = std::make_unique<QTranslator>();
  if (!translator->load(file, directory)) return nullptr;
  QCoreApplication::installTranslator(translator.get());
  return translator;
}

void RemoveTranslator(std::unique_ptr<QTranslator>& translator) {
  if (translator) QCoreApplication::removeTranslator(translator.get());
  translator.reset();
}

}  // namespace

bool ResourceScope::EnglishLocale() {
  return QLocale::system().language() == QLocale::English;
}

ResourceScope::ResourceScope() {
  if (!QApplication::instance()) {
    ownApplication_ = std::make_unique<QApplication>(argumentCount, arguments);
  }
  RegisterPluginResources();
  InstallPluginFonts();
  if (EnglishLocale()) {
    translator_ = InstalledTranslator(QStringLiteral("t740_en.qm"), QStringLiteral(":/t740/i18n"));
  } else {
    // Qt's own texts (standard buttons, message boxes) in Chinese too; a
    // machine without Qt's translations shows them in English.
    qtTranslator_ = InstalledTranslator(QStringLiteral("qtbase_zh_CN"),
                                        QLibraryInfo::path(QLibraryInfo::TranslationsPath));
  }
}

ResourceScope::~ResourceScope() {
  RemoveTranslator(qtTranslator_);
  RemoveTranslator(translator_);
  UnregisterPluginResources();
  ownApplication_.reset();
}

}  // namespace t740
