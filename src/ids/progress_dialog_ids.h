// The progress dialog's template and its bar.
#ifndef T740_IDS_PROGRESS_DIALOG_IDS_H
#define T740_IDS_PROGRESS_DIALOG_IDS_H

namespace t740::ids::progress_dialog {

constexpr int kTemplate = 1011;
constexpr int kBar = 1008;

}  // namespace t740::ids::progress_dialog

#endif
