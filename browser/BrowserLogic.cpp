#include "browser/BrowserLogic.h"

#include <algorithm>
#include <ctime>
#include <random>
#include <vector>

#include "browser/AvailabilityMark.h"
#include "browser/BrowserState.h"
#include "resources/resource.h"

namespace vt {

namespace {

constexpr SystemButton kSystemButtons[] = {
    {IDC_BROWSER_NES, "NES"},     {IDC_BROWSER_SNES, "SNES"},   {IDC_BROWSER_ATARI, "2600"},
    {IDC_BROWSER_GENESIS, "GEN"}, {IDC_BROWSER_GAMEBOY, "GBC"}, {IDC_BROWSER_COLECO, "COL"},
    {IDC_BROWSER_SMS, "SMS"},     {IDC_BROWSER_GAMEGEAR, "SGG"},
};

constexpr RangeButton kRangeButtons[] = {
    {IDC_BROWSER_RANGE_0_9, "^[0-9]"}, {IDC_BROWSER_RANGE_A_B, "^[a-b]"},
    {IDC_BROWSER_RANGE_C_D, "^[c-d]"}, {IDC_BROWSER_RANGE_E_F, "^[e-f]"},
    {IDC_BROWSER_RANGE_G_H, "^[g-h]"}, {IDC_BROWSER_RANGE_I_J, "^[i-j]"},
    {IDC_BROWSER_RANGE_K_L, "^[k-l]"}, {IDC_BROWSER_RANGE_M_N, "^[m-n]"},
    {IDC_BROWSER_RANGE_O_P, "^[o-p]"}, {IDC_BROWSER_RANGE_Q_R, "^[q-r]"},
    {IDC_BROWSER_RANGE_S_T, "^[s-t]"}, {IDC_BROWSER_RANGE_U_V, "^[u-v]"},
    {IDC_BROWSER_RANGE_W_X, "^[w-x]"}, {IDC_BROWSER_RANGE_Y_Z, "^[y-z]"},
    {IDC_BROWSER_RANGE_ALL, "^[0-z]"},
};

}  // namespace

std::span<const SystemButton> SystemButtons() { return kSystemButtons; }
std::span<const RangeButton> RangeButtons() { return kRangeButtons; }

const SystemButton* FindSystemButton(int id) {
  for (const SystemButton& b : kSystemButtons)
    if (b.id == id) return &b;
  return nullptr;
}

const RangeButton* FindRangeButton(int id) {
  for (const RangeButton& b : kRangeButtons)
    if (b.id == id) return &b;
  return nullptr;
}

BrowserLogic::BrowserLogic(BrowserSurface& surface, ServerSession& session, SettingsStore& settings,
                           AccountShell& shell)
    : surface_(surface), session_(session), settings_(settings), shell_(shell) {}

void BrowserLogic::RestoreBrowserState() { vt::RestoreBrowserState(settings_, session_, startCount); }

void BrowserLogic::SaveBrowserState() { vt::SaveBrowserState(settings_, session_, startCount); }

void BrowserLogic::RefreshList() { Refresh(false); }

void BrowserLogic::StartList() {
  // The server refuses a pattern with its error mark; a saved one would greet the user with an
  // error at every start, behind an empty search box.
  if (Refresh(true) || session_.queryFailure != QueryFailure::ErrorMark ||
      session_.filter == kDefaultFilter)
    return;
  surface_.SetSearchText(session_.filter);
  session_.filter = kDefaultFilter;
  RefreshList();
}

bool BrowserLogic::Refresh(bool quietErrorMark) {
  if (!session_.loggedIn) session_.Login(userName, password);
  if (session_.userInUse) {
    surface_.ShowCloseClientsNotice();
    session_.Disconnect();
  }
  if (!session_.loggedIn) return false;
  surface_.OpenLoadingNotice();
  bool ok = session_.QueryGames();
  // The server drops a session that sat idle (or on a restart, or when the user logged in
  // elsewhere); the first reply then shows the closed connection. Once more, on a new login.
  if (!ok && session_.queryFailure == QueryFailure::Dropped && session_.Login(userName, password))
    ok = session_.QueryGames();
  if (ok) {
    FillList();
  } else if (session_.userInUse) {
    surface_.ShowCloseClientsNotice();
    session_.Disconnect();
  } else if (!quietErrorMark || session_.queryFailure != QueryFailure::ErrorMark) {
    surface_.ShowConnectionErrorNotice();  // the previous rows stay
  }
  surface_.CloseLoadingNotice();
  return ok;
}

void BrowserLogic::FillList() {
  // The arrays hold gameCount entries after a successful query; the bound guards the rest.
  const size_t n = std::min<size_t>({size_t{session_.gameCount}, session_.titles.size(),
                                     session_.gameKeys.size(), session_.availableCopies.size(),
                                     session_.fullAccountCopies.size()});
  std::vector<GameRow> rows;
  rows.reserve(n);
  shown_.resize(n);
  for (size_t i = 0; i < n; ++i) {
    rows.push_back({session_.titles[i].c_str(),
                    AvailabilityMark(session_.availableCopies[i], session_.fullAccountCopies[i],
                                     session_.fullAccount)
                        .data()});
    shown_[i] = {session_.gameKeys[i], session_.availableCopies[i], session_.fullAccountCopies[i]};
  }
  shownSystem_ = session_.system;
  shownScheme_ = session_.scheme;
  surface_.ReplaceRows(rows);
  SelectGame(std::nullopt);
}

void BrowserLogic::SelectGame(std::optional<std::uint32_t> row) {
  selected_ = row && *row < shown_.size() ? row : std::nullopt;
  if (selected_) session_.selectedIndex = *selected_;
  surface_.ShowGameCommands(selected_.has_value());
}

void BrowserLogic::ChooseSystem(const std::string& alias) {
  session_.SetSystem(alias);
  RefreshList();
}

void BrowserLogic::ChooseRange(const std::string& pattern) {
  session_.filter = pattern;
  RefreshList();
}

void BrowserLogic::SearchBoxChanged(std::string text) {
  searchText = std::move(text);
  surface_.SearchTextChanged(!searchText.empty());
}

void BrowserLogic::Search(std::string text) {
  searchText = std::move(text);
  session_.filter = searchText;
  RefreshList();
}

bool BrowserLogic::ShowsUpgradeNow() const { return session_.fullAccount == "False"; }

void BrowserLogic::UpgradeReminderAtStart(int random) {
  const int threshold = random % 5 + 5;
  if (session_.fullAccount != "False") return;  // full or unknown tiers: never counted
  if (startCount > threshold) {
    startCount = 0;
    surface_.ShowUpgradeReminder();
  } else {
    // Wraps like the 32-bit counter it is; only its low byte is ever saved.
    startCount = static_cast<std::int32_t>(static_cast<std::uint32_t>(startCount) + 1u);
  }
}

LaunchOutcome BrowserLogic::Launch() {
  if (!selected_) return LaunchOutcome::NoSelection;
  // The launch's needs, answered by the window and by this logic's saved state.
  class Host final : public LaunchHost {
  public:
    explicit Host(BrowserLogic& b) : b_(b) {}
    void ShowGameInUseNotice(bool full) override { b_.surface_.ShowGameInUseNotice(full); }
    void ShowLightAccountNotice() override { b_.surface_.ShowLightAccountNotice(); }
    void ShowFullAccountOnlyNotice() override { b_.surface_.ShowFullAccountOnlyNotice(); }
    bool StartEmulator(const std::string& line) override { return b_.surface_.StartEmulator(line); }
    void ShowLaunchFailure(const std::string& text) override { b_.surface_.ShowLaunchFailure(text); }
    void SaveBrowserState() override { b_.SaveBrowserState(); }
    void Minimise() override { b_.surface_.Minimise(); }

  private:
    BrowserLogic& b_;
  } host(*this);
  const ShownGame& game = shown_[*selected_];
  const LaunchTarget target{shownSystem_, shownScheme_, game.key, game.copies, game.fullCopies};
  return LaunchGame(session_, target, Credentials{userName, password}, settings_, host);
}

void BrowserLogic::GameInfo() {
  if (!selected_) return;
  const std::string page = std::string(kGameInfoPage) + PercentEncoded(shown_[*selected_].key);
  shell_.OpenPage(WebPageAddress(session_.endpoints().webHost, page));
}

void BrowserLogic::SetupHelp() {
  if (const ConsoleLayout* layout = LayoutForSystem(session_.system)) surface_.RunSetupWindow(*layout);
}

void BrowserLogic::UpgradeNow() { UpgradeToFullAccount(shell_, session_.endpoints().webHost); }

void BrowserLogic::ChangeUser() {
  session_.Disconnect();
  surface_.RunLogin(true);
}

void BrowserLogic::Close() {
  SaveBrowserState();
  if (session_.connected) session_.Disconnect();
}

std::string PercentEncoded(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '-' ||
        b == '.' || b == '_' || b == '~') {
      out += c;
    } else {
      out += '%';
      out += kHex[b >> 4];
      out += kHex[b & 15];
    }
  }
  return out;
}

int StartUpRandom() {
  std::minstd_rand generator(static_cast<std::minstd_rand::result_type>(std::time(nullptr)));
  return static_cast<int>(generator() % 32768);
}

}  // namespace vt
