#include "widgets/limit_trace_edit.h"

#include <QLineEdit>
#include <algorithm>

#include "core/overhead/trace_cut.h"
#include "widgets/gbk_qt.h"

namespace t740 {
namespace {

// Each character of a QString becomes one GBK character ("?" when it has
// none), so a count of GBK characters is a count of code points here.
QString FirstCharacters(const QString& text, size_t count) {
  QList<uint> codePoints = text.toUcs4();
  codePoints.resize(
      static_cast<qsizetype>(std::min(count, static_cast<size_t>(codePoints.size()))));
  return QString::fromUcs4(reinterpret_cast<const char32_t*>(codePoints.constData()),
                           codePoints.size());
}

}  // namespace

void LimitTraceEdit(QLineEdit* edit) {
  const QString text = edit->text();
  const std::string gbk = ToGbk(text);
  if (gbk.size() <= kTraceLength) return;
  const int end = edit->hasSelectedText() ? edit->selectionEnd() : edit->cursorPosition();
  const QString kept = FirstCharacters(text, CutGbkText(gbk).characters);
  edit->setText(kept);
  // Setting the caret also drops the selection and scrolls the caret into view.
  edit->setCursorPosition(std::min(end, static_cast<int>(kept.size())));
}

void BindTraceLimit(QLineEdit* edit) {
  QObject::connect(edit, &QLineEdit::textChanged, edit, [edit] { LimitTraceEdit(edit); });
}

}  // namespace t740
