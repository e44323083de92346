#include "support/held_poll.h"

#include <gtest/gtest.h>

#include <QProgressBar>

#include "core/card/card_address.h"
#include "ids/progress_dialog_ids.h"
#include "support/controls.h"
#include "support/gate.h"
#include "widgets/poll_progress_dlg.h"

namespace t740::test {

namespace progress = ids::progress_dialog;

void RunPollHeldAtLoopback(CCardObject& card, RecordingCard& host, Operator& op,
                           const std::function<void(QWidget* dialog)>& atLoopback) {
  const std::string loopbackOid = BuildCardOid(card.CardAddress(), Operation::Read, ".11");
  Gate looked;
  host.OnRequest([&](const RecordedRequest& request, CText*) {
    if (request.oid == loopbackOid) {
      EXPECT_TRUE(looked.Wait());
    }
  });
  op.Then(
      [](QWidget* modal) {
        auto* bar = modal->findChild<QProgressBar*>(IdName(progress::kBar));
        return modal->objectName() == IdName(progress::kTemplate) && bar && bar->value() == 60;
      },
      [&](QWidget* dialog) {
        atLoopback(dialog);
        looked.Open();
      });
  CPollProgressDlg dialog(1, &card, nullptr);
  dialog.exec();
  EXPECT_TRUE(op.Done());
  host.OnRequest(nullptr);
}

}  // namespace t740::test
