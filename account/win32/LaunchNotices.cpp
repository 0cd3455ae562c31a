#include "account/win32/LaunchNotices.h"

#include "account/win32/Notices.h"

namespace vt {

void LaunchNotices::ShowGameInUseNotice(bool fullAccountForm) {
  GameInUseNotice notice(shell_, webHost_);
  notice.SetAccountTier(fullAccountForm ? "True" : "False");
  notice.RunModal(owner_);
}

void LaunchNotices::ShowLightAccountNotice() {
  LightAccountNotice notice(shell_, webHost_);
  notice.RunModal(owner_);
}

void LaunchNotices::ShowFullAccountOnlyNotice() {
  FullAccountOnlyNotice notice(shell_, webHost_);
  notice.RunModal(owner_);
}

}  // namespace vt
