// The fonts the dialog templates name. Most templates carry theirs in their
// form; the ones with an English variant, and template 1030 (which shares
// the form of 1027 but not its font), get theirs here. A machine without
// these Windows fonts shows them in the installed CJK font instead of
// whatever its font configuration would pick.
#ifndef T740_WIDGETS_PLUGIN_FONTS_H
#define T740_WIDGETS_PLUGIN_FONTS_H

#include <QString>

class QWidget;

namespace t740 {

// The family the template names under the current locale, or an empty
// text for a template whose form names it.
QString TemplateFontFamily(int templateId);
void ApplyTemplateFont(QWidget* dialog, int templateId);

// Makes the template families fall back to the installed CJK font. Lasts
// for the process; installing twice adds nothing.
void InstallPluginFonts();

}  // namespace t740

#endif
