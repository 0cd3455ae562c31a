#include "browser/BrowserLogic.h"

#include <algorithm>
#include <ctime>
#include <random>
#include <vector>

#include "browser/AvailabilityMark.h"
#include "browser/BrowserState.h"
#include "resources/resource.h"
#include "service/SystemTable.h"

namespace vt {

namespace {

constexpr SystemButton kSystemButtons[] = {
    {IDC_BROWSER_NES, "NES"},     {IDC_BROWSER_SNES, "SNES"},    {IDC_BROWSER_ATARI, "2600"},
    {IDC_BROWSER_GENESIS, "GEN"}, {IDC_BROWSER_GAMEBOY, "GBC"},  {IDC_BROWSER_COLECO, "COL"},
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
                           Host& host)
    : surface_(surface), session_(session), settings_(settings), host_(host) {}

void BrowserLogic::RestoreBrowserState() {
  vt::RestoreBrowserState(settings_, system_, pattern_, startCount);
}

void BrowserLogic::SaveBrowserState() {
  vt::SaveBrowserState(settings_, system_, pattern_, startCount);
}

Next BrowserLogic::LogIn() {
  return surface_.RunLogin(false) == LoginExit::SignedIn ? Next::GoOn : Next::EndProgram;
}

Next BrowserLogic::RefreshList() { return Refresh(false).next; }

Next BrowserLogic::StartList() {
  // The server refuses a pattern with its error mark; a saved one would greet the user with an
  // error at every start, behind an empty search box, so it gives way to the default range. The
  // default range has nothing to give way to: its error mark is said. (The first query: no
  // earlier one left its failure behind.)
  const bool fallback = pattern_ != kDefaultFilter;
  const Refreshed first = Refresh(fallback);
  if (first.next == Next::EndProgram) return Next::EndProgram;
  if (first.query != QueryResult::ErrorMark || !fallback) return Next::GoOn;
  surface_.SetSearchText(pattern_);
  pattern_ = kDefaultFilter;
  return RefreshList();
}

QueryResult BrowserLogic::Query() { return session_.QueryGames(system_, pattern_, fetched_); }

BrowserLogic::Refreshed BrowserLogic::Refresh(bool quietErrorMark) {
  // A user name in use, by this login or by the one that left the session logged out: the
  // other clients are to be closed, and this connection goes.
  auto closeClients = [this] {
    surface_.ShowCloseClientsNotice();
    session_.Disconnect();
  };
  if (!session_.loggedIn()) {
    const LoginResult login = session_.Login(userName, password, host_);
    if (login == LoginResult::OutOfDate) return {Next::EndProgram};
    if (login == LoginResult::UserInUse) closeClients();
    if (login != LoginResult::SignedIn) return {};
  }
  surface_.OpenLoadingNotice();
  QueryResult query = Query();
  // The server drops a session that sat idle (or on a restart, or when the user logged in
  // elsewhere); the first reply then shows the closed connection. Once more, on a new login.
  std::optional<LoginResult> again;
  if (query == QueryResult::Dropped) {
    again = session_.Login(userName, password, host_);
    if (again == LoginResult::SignedIn) query = Query();
  }
  if (again == LoginResult::OutOfDate) {
    surface_.CloseLoadingNotice();
    return {Next::EndProgram};
  }
  if (query == QueryResult::Ok) {
    std::swap(shown_, fetched_);
    shownSystem_ = system_;
    FillList();
  } else if (again == LoginResult::UserInUse) {
    closeClients();
  } else if (!quietErrorMark || query != QueryResult::ErrorMark) {
    surface_.ShowConnectionErrorNotice();  // the previous rows stay
  }
  surface_.CloseLoadingNotice();
  return {Next::GoOn, query};
}

void BrowserLogic::FillList() {
  std::vector<GameRow> rows;
  rows.reserve(shown_.size());
  for (const Game& game : shown_)
    rows.push_back({game.title.c_str(),
                    AvailabilityMark(game.copies, game.fullCopies, session_.tier()).data()});
  surface_.ReplaceRows(rows);
  SelectGame(std::nullopt);
}

void BrowserLogic::SelectGame(std::optional<std::uint32_t> row) {
  selected_ = row && *row < shown_.size() ? row : std::nullopt;
  surface_.ShowGameCommands(selected_.has_value());
}

Next BrowserLogic::ChooseSystem(const std::string& alias) {
  system_ = alias;
  return RefreshList();
}

Next BrowserLogic::ChooseRange(const std::string& pattern) {
  pattern_ = pattern;
  return RefreshList();
}

void BrowserLogic::SearchBoxChanged(std::string text) {
  searchText = std::move(text);
  surface_.SearchTextChanged(!searchText.empty());
}

Next BrowserLogic::Search(std::string text) {
  searchText = std::move(text);
  pattern_ = searchText;
  return RefreshList();
}

bool BrowserLogic::ShowsUpgradeNow() const { return session_.tier() == "False"; }

void BrowserLogic::UpgradeReminderAtStart(int random) {
  const int threshold = random % 5 + 5;
  if (session_.tier() != "False") return;  // full or unknown tiers: never counted
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
  const Game& game = shown_[*selected_];
  const LaunchTarget target{shownSystem_, std::string(LookUpSystem(shownSystem_).scheme), game.key,
                            game.copies, game.fullCopies};
  const LaunchOutcome outcome =
      LaunchGame(session_, target, Credentials{userName, password}, settings_, surface_, host_);
  switch (outcome) {
    case LaunchOutcome::Started:
      SaveBrowserState();
      surface_.Minimise();
      break;
    case LaunchOutcome::EmulatorNotSet:
    case LaunchOutcome::EmulatorNotFound:
    case LaunchOutcome::EmulatorNotStarted:
      SaveBrowserState();  // as after a start: the session is already disconnected
      break;
    default:
      break;  // refused with a notice: nothing changes
  }
  return outcome;
}

void BrowserLogic::GameInfo() {
  if (!selected_) return;
  const std::string page = std::string(kGameInfoPage) + PercentEncoded(shown_[*selected_].key);
  host_.OpenPage(WebPageAddress(session_.endpoints().webHost, page));
}

void BrowserLogic::SetupHelp() {
  if (const ConsoleLayout* layout = LayoutForSystem(system_)) surface_.RunSetupWindow(*layout);
}

void BrowserLogic::UpgradeNow() {
  host_.OpenPage(WebPageAddress(session_.endpoints().webHost, kAccountInfoPage));
}

Next BrowserLogic::ChangeUser() {
  session_.Disconnect();
  const LoginExit exit = surface_.RunLogin(true);
  if (exit == LoginExit::Left) SaveBrowserState();
  return exit == LoginExit::SignedIn ? Next::GoOn : Next::EndProgram;
}

void BrowserLogic::Close() {
  SaveBrowserState();
  if (session_.connected()) session_.Disconnect();
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
