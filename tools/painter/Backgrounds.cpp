#include "Backgrounds.h"

#include <cmath>

#include "Skin.h"
#include "Text.h"

namespace vtpaint {
namespace {

using namespace colour;

const Font& Regular() { return *Fonts::Get()->regular; }

// Painted beside a field: right-aligned a few pixels left of it, centred on its height.
void LabelLeftOf(Canvas& c, Rect field, const std::string& text, double size = 13) {
  PaintLabel(c, text, field.x - 7, field.y + field.h / 2.0, size, kLabel, Align::Right);
}

// The word beside a lamp (images are 22 x 23 at the control's top-left corner).
void LampWord(Canvas& c, int leftDu, int topDu, const std::string& text) {
  Rect r = DuRect(leftDu, topDu, 22, 10);
  PaintLabel(c, text, r.x + 22 + 6, r.y + 11.5, 13, kLabel, Align::Left);
}

// A block of wrapped paragraphs centred in `area`, as large as fits (13 px down to 11 px).
void PaintMessage(Canvas& c, const std::vector<std::string>& paragraphs, Rect area) {
  for (double size = 14; size >= 11; size -= 0.5) {
    double line = std::round(size * 1.22), gap = std::round(size * 0.5);
    std::vector<std::vector<std::string>> blocks;
    double total = 0;
    for (const std::string& p : paragraphs) {
      blocks.push_back(WrapText(Regular(), p, size, area.w));
      total += blocks.back().size() * line;
    }
    total += gap * (paragraphs.size() - 1);
    if (total > area.h && size > 11) continue;
    double y = area.y + std::floor((area.h - total) / 2);
    for (const auto& block : blocks) {
      for (const std::string& text : block) {
        DrawLine(c, Regular(), text, area.x + area.w / 2.0, y + (line - size) / 2, size, kWhite,
                 Align::Centre);
        y += line;
      }
      y += gap;
    }
    return;
  }
}

// Brand of the notices: the service's name and logo at the top, a gold rule below them.
int PaintBrand(Canvas& c) { return PaintTitle(c, "Vintara", 26, 22); }

}  // namespace

Canvas BrowserBackground() {
  Canvas c(500, 600);
  PaintFace(c, false);
  // Name at the top left, logo at the top right (below the window buttons).
  PaintLabel(c, "Vintara", 16, 22, 32, kWhite, Align::Left);
  double nameRight = 16 + Fonts::Get()->bold->Width("Vintara", 32);
  PaintLabel(c, "classic console games", nameRight + 10, 26, 12, kGold, Align::Left, false);
  PaintLogo(c, 420, 44, 62);
  // The list with its own scroll bars at its right and below it.
  Rect list = DuRect(7, 69, 264, 237);
  PaintField(c, {list.x, list.y, list.w + 12, list.h + 12});
  // Search box and its caption.
  Rect search = DuRect(7, 326, 206, 13);
  PaintField(c, search);
  PaintLabel(c, "Search titles", search.x + 1, search.y - 10, 11, kMuted, Align::Left, false);
  return c;
}

Canvas LoginBackground() {
  Canvas c(275, 150);
  PaintFace(c, true);
  PaintLogo(c, 12, 6, 24);
  PaintLabel(c, "VT Login", 44, 18, 18, kWhite, Align::Left);
  Rect user = DuRect(63, 22, 83, 12), password = DuRect(63, 39, 83, 12);
  PaintField(c, user);
  PaintField(c, password);
  LabelLeftOf(c, user, "Username:");
  LabelLeftOf(c, password, "Password:");
  LampWord(c, 7, 54, "Save Settings");
  LampWord(c, 103, 55, "Auto Login");
  KeyFace(c);
  return c;
}

Canvas NoticeBackground(const NoticeLayout& layout) {
  Canvas c(layout.width, layout.height);
  PaintFace(c, layout.keyed);
  int top = PaintBrand(c) + 4;
  int bottom = layout.buttonTopDu ? DuY(layout.buttonTopDu) - 6 : layout.height - 12;
  PaintMessage(c, layout.paragraphs, {16, top, layout.width - 32, bottom - top});
  if (layout.keyed) KeyFace(c);
  return c;
}

namespace {

struct Field {
  int leftDu, topDu;
  const char* label;
};

// The common frame of a set-up window: face, title, fields with their labels, player words.
void PaintFields(Canvas& c, const std::vector<Field>& fields, int widthDu, int heightDu,
                 bool labels = true) {
  for (const Field& f : fields) {
    Rect r = DuRect(f.leftDu, f.topDu, widthDu, heightDu);
    PaintField(c, r);
    if (labels && f.label) LabelLeftOf(c, r, f.label);
  }
}

void ColumnHead(Canvas& c, int leftDu, int firstTopDu, int widthDu, const std::string& text) {
  Rect r = DuRect(leftDu, firstTopDu, widthDu, 13);
  PaintLabel(c, text, r.x + r.w / 2.0, r.y - 12, 13, kGold, Align::Centre);
}

Canvas TwoPlayerWindow(const std::string& title, const std::vector<Field>& fields, int lamp1LeftDu,
                       int lamp1TopDu, int lamp2LeftDu, int lamp2TopDu) {
  Canvas c(400, 350);
  PaintFace(c, false);
  PaintTitle(c, title, 28, 18);
  PaintFields(c, fields, 70, 14);
  LampWord(c, lamp1LeftDu, lamp1TopDu, "Player 1");
  LampWord(c, lamp2LeftDu, lamp2TopDu, "Player 2");
  return c;
}

}  // namespace

Canvas GenesisSetupBackground() {
  return TwoPlayerWindow("Genesis Controller Setup",
                         {{57, 39, "Up"},
                          {57, 57, "Down"},
                          {57, 75, "Left"},
                          {57, 93, "Right"},
                          {57, 111, "Start"},
                          {148, 39, "A"},
                          {148, 57, "B"},
                          {148, 75, "C"}},
                         19, 158, 112, 159);
}

Canvas NesSetupBackground() {
  return TwoPlayerWindow("NES Controller Setup",
                         {{57, 39, "Up"},
                          {57, 57, "Down"},
                          {57, 75, "Left"},
                          {57, 93, "Right"},
                          {57, 111, "Select"},
                          {57, 129, "Start"},
                          {148, 39, "A"},
                          {148, 57, "B"}},
                         17, 158, 110, 159);
}

Canvas SnesSetupBackground() {
  return TwoPlayerWindow("SNES Controller Setup",
                         {{57, 39, "Up"},
                          {57, 57, "Down"},
                          {57, 75, "Left"},
                          {57, 93, "Right"},
                          {57, 111, "Select"},
                          {57, 129, "Start"},
                          {148, 39, "A"},
                          {148, 57, "B"},
                          {148, 75, "X"},
                          {148, 93, "Y"},
                          {148, 111, "L"},
                          {148, 129, "R"}},
                         19, 158, 112, 159);
}

Canvas GameBoySetupBackground() {
  Canvas c(500, 400);
  PaintFace(c, false);
  PaintTitle(c, "Gameboy Controller Setup", 28, 18);
  PaintFields(c,
              {{70, 45, "Up"},
               {70, 59, "Down"},
               {70, 73, "Left"},
               {70, 88, "Right"},
               {70, 102, "Select"},
               {70, 116, "Start"},
               {70, 131, "A"},
               {70, 145, "B"},
               {70, 160, "Auto A"},
               {70, 174, "Auto B"}},
              70, 13);
  PaintFields(c,
              {{211, 102, "Select"},
               {211, 117, "Start"},
               {211, 131, "A"},
               {211, 145, "B"},
               {211, 160, "Auto A"},
               {211, 174, "Auto B"}},
              70, 13);
  // The joystick's directions are fixed: words where their fields would be.
  const Field fixed[] = {{211, 45, "Up"}, {211, 59, "Down"}, {211, 73, "Left"}, {211, 88, "Right"}};
  for (const Field& f : fixed) {
    Rect r = DuRect(f.leftDu, f.topDu, 70, 13);
    LabelLeftOf(c, r, f.label);
    PaintLabel(c, "Stick / D-pad", r.x + r.w / 2.0, r.y + r.h / 2.0, 12, kMuted, Align::Centre,
               false);
  }
  ColumnHead(c, 70, 45, 70, "Keyboard:");
  ColumnHead(c, 211, 45, 70, "Joystick:");
  return c;
}

Canvas MasterSystemSetupBackground() {
  Canvas c(400, 400);
  PaintFace(c, false);
  PaintTitle(c, "SMS\\Gamegear\\Colecovision Setup", 28, 18);
  const char* rows[] = {"Up", "Down", "Left", "Right", "Button 1", "Button 2", "Pause\\Start"};
  std::vector<Field> keyboard, joystick;
  for (int i = 0; i < 7; ++i) {
    keyboard.push_back({75, 43 + 14 * i, rows[i]});
    joystick.push_back({162, 43 + 14 * i, nullptr});
  }
  PaintFields(c, keyboard, 70, 13);
  PaintFields(c, joystick, 70, 13);
  ColumnHead(c, 75, 43, 70, "Keyboard");
  ColumnHead(c, 162, 43, 70, "Joystick");
  PaintLabel(c, "ColecoVision keypad: numeric pad keys 0 to 9, Minus and Equals", 200, DuY(176), 12,
             kMuted, Align::Centre, false);
  LampWord(c, 55, 194, "Player 1");
  LampWord(c, 181, 194, "Player 2");
  return c;
}

Canvas AtariSetupBackground() {
  Canvas c(400, 350);
  PaintFace(c, false);
  int top = PaintTitle(c, "Atari Controller Configuration", 28, 18) + 14;
  const int colX[] = {40, 190, 300};
  const char* head[] = {"Console input", "Player 1", "Player 2"};
  const char* rows[][3] = {{"Up", "Up", "E"},
                           {"Down", "Down", "D"},
                           {"Left", "Left", "S"},
                           {"Right", "Right", "F"},
                           {"Fire", "Ctrl", "N"}};
  const int rowH = 24;
  c.FillRect(28, top, 372, top + rowH, kSkinBlue);
  for (int i = 0; i < 3; ++i)
    PaintLabel(c, head[i], colX[i], top + rowH / 2.0, 13, kGold, Align::Left);
  for (int r = 0; r < 5; ++r) {
    int y = top + rowH * (r + 1);
    c.FillRect(28, y + rowH - 1, 372, y + rowH, kPanelEdge);
    for (int i = 0; i < 3; ++i)
      PaintLabel(c, rows[r][i], colX[i], y + rowH / 2.0, 13, i == 0 ? kLabel : kWhite, Align::Left,
                 i == 0);
  }
  const char* notes[] = {"Every game starts or restarts with F1.", "F2 is Game Select.",
                         "Any joystick configured in Windows works for Player 1.",
                         "Paddle games work only with PS/2 mice, not with USB mice."};
  int y = top + rowH * 6 + 16;
  for (const char* note : notes) {
    PaintLabel(c, note, 40, y, 13, kLabel, Align::Left, false);
    y += 20;
  }
  return c;
}

}  // namespace vtpaint
