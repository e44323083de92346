// Trace identifier edits hold at most 32 bytes of GBK text, whatever put
// the text there: typing, pasting or a read.
#ifndef T740_WIDGETS_LIMIT_TRACE_EDIT_H
#define T740_WIDGETS_LIMIT_TRACE_EDIT_H

class QLineEdit;

namespace t740 {

// Cuts a longer text to its first 32 bytes (before a double-byte character
// that would be split) and leaves the caret where the selection ended,
// within the new text.
void LimitTraceEdit(QLineEdit* edit);

// Runs LimitTraceEdit on every change of the edit's text.
void BindTraceLimit(QLineEdit* edit);

}  // namespace t740

#endif
