#include "widgets/plugin_fonts.h"
#include "ids/progress_dialog_ids.h"
#include "ids/shield_dialog_ids.h"
#include "ids/threshold_page_ids.h"

#include <QFont>
#include <QStringList>
#include <QWidget>

#include "widgets/resource_scope.h"

namespace t740 {
namespace {

constexpr char kNewSong[] = "NSimSun";  // 新宋体
constexpr char kSong[] = "SimSun";      // 宋体
constexpr char kEnglishTemplate[] = "MS Sans Serif";
constexpr char kInstalledCjkFont[] = "WenQuanYi Micro Hei";

struct TemplateFont {
  int templateId;
  const char* chinese;
  const char* english;  // the English variant's, or the Chinese one's
};

const TemplateFont kTemplateFonts[] = {
    {ids::progress_dialog::kTemplate, kNewSong, kEnglishTemplate},
    {ids::shield_dialog::kTemplate, kNewSong, kEnglishTemplate},
    {ids::threshold_page::kSecondTemplate, kNewSong, kNewSong},
};

const char* const kTemplateFamilies[] = {kNewSong, kSong, kEnglishTemplate};

}  // namespace

QString TemplateFontFamily(int templateId) {
  for (const TemplateFont& entry : kTemplateFonts) {
    if (entry.templateId != templateId) continue;
    return QString::fromLatin1(ResourceScope::EnglishLocale() ? entry.english : entry.chinese);
  }
  return {};
}

void ApplyTemplateFont(QWidget* dialog, int templateId) {
  const QString family = TemplateFontFamily(templateId);
  if (family.isEmpty()) return;
  QFont font = dialog->font();
  font.setFamilies({family});
  dialog->setFont(font);
}

void InstallPluginFonts() {
  for (const char* family : kTemplateFamilies) {
    QFont::insertSubstitutions(QString::fromLatin1(family),
                               {QString::fromLatin1(kInstalledCjkFont)});
  }
}

}  // namespace t740
