// The higher-order path overhead tab of the configuration window: the J1,
// C2, K3, G1 and N1 bytes of one port and VC4, group ".13".
#ifndef T740_PAGES_PATH_OVERHEAD_PAGE_H
#define T740_PAGES_PATH_OVERHEAD_PAGE_H

#include <QWidget>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/card/card_object.h"
#include "core/overhead/path_record.h"
#include "widgets/message_box.h"

class QComboBox;

namespace Ui {
class PathOverheadPage;
}

namespace t740 {

class CPathOverheadPage : public QWidget {
 public:
  explicit CPathOverheadPage(CCardObject& card, QWidget* parent = nullptr);
  ~CPathOverheadPage() override;

  // Every read asks the card. From the Read button the shown port and VC4
  // are written first so that the card reports that channel.
  void ReadPathOverhead(bool fromReadButton);
  void SelectPathChannel();
  void SetPathOverhead();

  // The record for `mode`; with `validate` nothing after one message.
  std::optional<std::string> BuildPathRecord(std::string_view mode, bool validate);

 private:
  QComboBox* List(int listId) const;
  PathOverhead Values() const;
  void Show(const PathOverhead& values);

  CCardObject& card_;
  std::unique_ptr<Ui::PathOverheadPage> ui_;
  PageMessages messages_;
};

}  // namespace t740

#endif
