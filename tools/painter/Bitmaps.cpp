#include "Bitmaps.h"

#include <cstdio>

#include "Backgrounds.h"
#include "Skin.h"
#include "Text.h"

namespace vtpaint {
namespace {

using namespace colour;

// Button families: one size and one body inset each. The letter-range buttons stand 16 dialog
// units (26 px) apart but are 29 px high, so their bodies keep clear of the rows that the
// next button covers.
constexpr Insets kRangeBody{2, 3, 2, 3};
constexpr Insets kCommandBody{3, 3, 3, 3};
constexpr Insets kSystemBody{2, 3, 2, 3};
constexpr Insets kWideBody{2, 2, 2, 3};
constexpr Insets kLoginBody{2, 2, 2, 2};

BitmapEntry Button(int number, int w, int h, Insets body, Pill pill, bool pressed,
                   const char* label, double size) {
  return {number, 24, [=] { return ButtonImage(w, h, body, pill, pressed, label, size); }};
}

void AddPair(std::vector<BitmapEntry>& out, int normal, int pressed, int w, int h, Insets body,
             const char* label, double size, Pill pill = Pill::Blue) {
  out.push_back(Button(normal, w, h, body, pill, false, label, size));
  out.push_back(Button(pressed, w, h, body, pill, true, label, size));
}

BitmapEntry Piece(int number, int w, int h, std::function<void(Canvas&)> paint) {
  return {number, 24, [=] {
            Canvas c(w, h, kScrollFill);
            paint(c);
            return c;
          }};
}

// Colours of the list's scroll bars and header.
constexpr Rgb kBarLight{110, 160, 236}, kBarDark{26, 64, 150}, kBarOutline{12, 30, 76};
constexpr Rgb kTrackDark{16, 34, 80}, kTrackLight{44, 78, 150};
constexpr Rgb kHeaderTop{226, 234, 250}, kHeaderBottom{160, 180, 222};

Shader AcrossGradient(double x0, Rgb left, double x1, Rgb right) {
  return [=](double x, double) { return Mix(left, right, (x - x0) / (x1 - x0)); };
}

void BarButton(Canvas& c, int arrow) {  // arrow: -1 up, 1 down, 0 none
  c.Paint(RoundRect(0, 0, 12, 26, 3), Solid(kBarOutline));
  c.Paint(RoundRect(1, 1, 11, 25, 2.5), AcrossGradient(1, kBarLight, 11, kBarDark));
  if (arrow < 0) c.Paint(Triangle(6, 9, 2.5, 16, 9.5, 16), Solid(kWhite));
  if (arrow > 0) c.Paint(Triangle(6, 17, 2.5, 10, 9.5, 10), Solid(kWhite));
  if (arrow == 0)
    for (int y : {10, 13, 16}) c.Paint(Segment(3.5, y, 8.5, y, 0.5), Solid(kWhite), 0.6);
}

void Cap(Canvas& c, bool top) {
  double y0 = top ? 1 : -6, y1 = top ? 17 : 10;
  c.Paint(RoundRect(0, y0, 12, y1, 5), Solid(kBarOutline));
  c.Paint(RoundRect(1, y0 + 1, 11, y1 - 1, 4), AcrossGradient(1, kBarLight, 11, kBarDark));
}

std::vector<BitmapEntry> Build() {
  std::vector<BitmapEntry> b;

  // Window backgrounds.
  b.push_back({213, 24, BrowserBackground});
  b.push_back({220, 24, LoginBackground});
  auto notice = [&](int number, int w, int h, bool keyed, std::vector<std::string> text,
                    int buttonTopDu) {
    NoticeLayout layout{w, h, keyed, std::move(text), buttonTopDu};
    b.push_back({number, 24, [layout] { return NoticeBackground(layout); }});
  };
  const std::string gameInUse =
      "We're sorry, but all copies of the game you seleted are currently in use by other players.";
  notice(261, 275, 150, false, {"Please wait: Connecting"}, 0);
  notice(262, 275, 150, false, {"Connection Error: Please Try Again"}, 69);
  notice(217, 275, 150, true,
         {"You have entered an Incorrect Username or Password. Please try again."}, 69);
  notice(219, 275, 150, false, {"Please wait while the game list loads"}, 0);
  notice(223, 275, 150, true, {"Username in use. Login again to clear."}, 69);
  notice(224, 275, 150, true, {"Username in use. Please close all open clients and try again."},
         69);
  notice(214, 275, 250, true, {gameInUse}, 127);
  notice(215, 275, 250, true,
         {gameInUse,
          "Customers with Full accounts have more copies available than do our free  customers. "
          "If you would like to upgrade your account please click the button below."},
         127);
  notice(221, 275, 150, true,
         {"We're sorry, only full account holders have access to this system. If you would like "
          "to upgrade, please do so now."},
         69);
  notice(273, 275, 250, false,
         {"We're sorry, but all copy's available to light accounts are currently in use, more "
          "copies of this game are available for our full account holders. If you would like to "
          "upgrade to a full account, you may do so now."},
         128);
  notice(255, 275, 200, false,
         {"We're glad you're enjoying our service. For only $5 a month you can gain access to an "
          "even wider range of games and help make Vintara even better. Why wait? Upgrade today!"},
         97);
  b.push_back({253, 16, AtariSetupBackground});
  b.push_back({277, 24, GameBoySetupBackground});
  b.push_back({249, 16, GenesisSetupBackground});
  b.push_back({251, 16, NesSetupBackground});
  b.push_back({289, 24, MasterSystemSetupBackground});
  b.push_back({239, 16, SnesSetupBackground});

  // Letter-range buttons: normal, pressed.
  const struct {
    int normal, pressed;
    const char* label;
  } ranges[] = {{148, 149, "0-9"}, {150, 151, "A-B"}, {153, 152, "C-D"}, {155, 154, "E-F"},
                {157, 156, "G-H"}, {159, 158, "I-J"}, {161, 160, "K-L"}, {163, 162, "M-N"},
                {165, 164, "O-P"}, {167, 166, "Q-R"}, {169, 168, "S-T"}, {171, 170, "U-V"},
                {173, 172, "W-X"}, {175, 174, "Y-Z"}, {177, 176, "ALL"}};
  for (const auto& r : ranges) AddPair(b, r.normal, r.pressed, 69, 29, kRangeBody, r.label, 14);

  // Command buttons, 93 x 34; disabled images are the greyed label.
  const struct {
    int normal, pressed, disabled;
    const char* label;
    Pill pill;
  } commands[] = {
      {181, 179, 180, "Launch", Pill::Blue},    {185, 184, 0, "CLOSE", Pill::Blue},
      {187, 186, 188, "Game Info", Pill::Blue}, {190, 189, 0, "Controls", Pill::Blue},
      {192, 191, 0, "Upgrade", Pill::Green},    {195, 193, 194, "Search", Pill::Blue},
      {241, 240, 244, "OK", Pill::Blue},        {259, 257, 258, "No Thanks", Pill::Blue},
      {243, 242, 0, "Advanced", Pill::Blue},    {247, 245, 246, "Set All", Pill::Blue}};
  for (const auto& k : commands) {
    AddPair(b, k.normal, k.pressed, 93, 34, kCommandBody, k.label, 15, k.pill);
    if (k.disabled)
      b.push_back(Button(k.disabled, 93, 34, kCommandBody, Pill::Grey, false, k.label, 15));
  }

  // System buttons, 80 x 29.
  const struct {
    int normal, pressed;
    const char* label;
  } systems[] = {{197, 196, "NES"},     {199, 198, "SNES"},    {201, 200, "Atari"},
                 {203, 202, "Genesis"}, {268, 267, "GameBoy"}, {290, 291, "Coleco"},
                 {279, 278, "SMS"},     {286, 285, "Gamegear"}};
  for (const auto& s : systems) AddPair(b, s.normal, s.pressed, 80, 29, kSystemBody, s.label, 14);

  AddPair(b, 265, 266, 116, 31, kWideBody, "Change User", 14);
  b.push_back({204, 24, [] { return RoundButtonImage(30, Glyph::Cross, false); }});
  b.push_back({207, 24, [] { return RoundButtonImage(30, Glyph::Cross, true); }});
  b.push_back({205, 24, [] { return RoundButtonImage(30, Glyph::Dash, false); }});
  b.push_back({206, 24, [] { return RoundButtonImage(30, Glyph::Dash, true); }});

  // Login window buttons (78 x 26, sized to fit between the template's button positions).
  AddPair(b, 139, 140, 78, 26, kLoginBody, "Login", 14);
  b.push_back(Button(145, 78, 26, kLoginBody, Pill::Grey, false, "Login", 14));
  AddPair(b, 143, 144, 78, 26, kLoginBody, "Cancel", 14);
  AddPair(b, 226, 225, 78, 26, kLoginBody, "Signup", 14);

  b.push_back({146, 24, [] { return LampImage(true); }});
  b.push_back({147, 24, [] { return LampImage(false); }});

  // The game list's scroll bars and header.
  b.push_back(Piece(227, 12, 11, [](Canvas& c) { Cap(c, true); }));
  b.push_back(Piece(228, 12, 26, [](Canvas& c) { BarButton(c, -1); }));
  b.push_back(Piece(229, 12, 1, [](Canvas& c) {
    for (int x = 0; x < 12; ++x)
      c.Set(x, 0, Mix(kTrackDark, kTrackLight, 1 - std::abs(x - 5.5) / 5.5));
  }));
  b.push_back(Piece(230, 12, 26, [](Canvas& c) { BarButton(c, 1); }));
  b.push_back(Piece(231, 12, 11, [](Canvas& c) { Cap(c, false); }));
  b.push_back(Piece(232, 12, 26, [](Canvas& c) { BarButton(c, 0); }));
  b.push_back(Piece(233, 1, 20, [](Canvas& c) {
    for (int y = 0; y < 20; ++y) c.Set(0, y, Mix(kHeaderTop, kHeaderBottom, y / 19.0));
  }));
  b.push_back(Piece(234, 2, 20, [](Canvas& c) {
    for (int y = 0; y < 20; ++y) {
      c.Set(0, y, kWhite);
      c.Set(1, y, Mix(kHeaderTop, kHeaderBottom, y / 19.0));
    }
  }));
  b.push_back(Piece(235, 2, 20, [](Canvas& c) {
    for (int y = 0; y < 20; ++y) {
      c.Set(0, y, Mix(kHeaderTop, kHeaderBottom, y / 19.0));
      c.Set(1, y, {96, 112, 150});
    }
  }));
  b.push_back(Piece(236, 1, 12, [](Canvas& c) {
    for (int y = 0; y < 12; ++y)
      c.Set(0, y, Mix(kTrackDark, kTrackLight, 1 - std::abs(y - 5.5) / 5.5));
  }));
  return b;
}

}  // namespace

const std::vector<BitmapEntry>& AllBitmaps() {
  static const std::vector<BitmapEntry> all = Build();
  return all;
}

bool WriteAllBitmaps(const std::string& dir) {
  if (!Fonts::Get()) return false;
  for (const BitmapEntry& e : AllBitmaps()) {
    std::string path = dir + "/bitmap" + std::to_string(e.number) + ".bmp";
    if (!WriteBmp(e.paint(), e.bitsPerPixel, path)) {
      std::fprintf(stderr, "vtpaint: cannot write %s\n", path.c_str());
      return false;
    }
  }
  return true;
}

}  // namespace vtpaint
