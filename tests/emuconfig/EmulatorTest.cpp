// The four file formats over texts the samples do not show: what each writes back byte for byte,
// the bytes a change writes, and the texts it leaves alone because its writer could not put the
// bindings back where its reader takes them.
#include "emuconfig/Emulator.h"

#include <gtest/gtest.h>

#include "tests/support/EmulatorFolder.h"

namespace vt {
namespace {

using test::Replace;
using Codes = std::vector<std::pair<BindingSlot, std::int32_t>>;

const std::string kGens =
    "P1.Up=200\r\nP1.Down=208\r\nP1.Left=203\r\nP1.Right=205\r\n"
    "P1.Start=28\r\nP1.A=30\r\nP1.B=31\r\nP1.C=32\r\n";
const std::string kScanKey1 = "ScanKey1 = 205, 203, 208, 200, 28, 54, 45, 44, 46, 30, 16, 18";
const std::string kTwelve = " 205, 203, 208, 200, 28, 54, 45, 44, 46, 30, 16, 18\r\n";
const std::string kMeka = test::Fixture("meka.inp");

std::string BareLineFeeds(std::string text) {
  for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 1);
  return text;
}

// One binding line as MEKA writes it: the key padded to twenty columns, then "= " and the value.
std::string L(const std::string& name, const std::string& value) {
  std::string key = "player_" + name;
  key.resize(20, ' ');
  return key + "= " + value + "\r\n";
}

std::string Poke(std::string bytes, const std::vector<std::pair<std::size_t, char>>& at) {
  for (auto [offset, value] : at) bytes[offset] = value;
  return bytes;
}

// What each format writes after reading `text` and binding `edits` (nothing: `text` itself, byte
// for byte), and the codes it then reads from what it wrote.
TEST(Emulator, EachFormatWritesBackWhatItReadAndChangesOnlyTheBindingsChanged) {
  const std::string gensTail = test::Fixture("gens.cfg") + "[Extra]\r\n" + std::string(12000, 'z');
  std::string longValue = kGens;
  longValue.insert(longValue.find("208") + 3, std::string(5000, '7'));
  const std::string gensHead = "Note=P1.C and P1.Up\r\nP1.Config=1\r\n";
  const std::string down = L("down", "key Down"), button2 = L("button2", "joy_button 1");
  const std::string lacking =
      Replace(Replace(kMeka, L("start_pause", "joy_button 9"), ""), down, "; a comment\r\n" + down);
  const std::string gest = Poke(test::GestFile(100, 4000), {{112, 0x2D}, {148, char(0xC8)}});
  const std::string longGest = test::GestFile(300, 15000);
  const std::string zeros(kGestBufferBytes - 4000, '\0');
  // Player 2's pause is "[Keyboard 1]"'s; its joypad is the second.
  const std::size_t joypad2 = kMeka.find("[Joypad 2]");
  const std::string meka2 =
      Replace(Replace(kMeka.substr(0, joypad2), "= key Enter", "= key Space"), L("left", "key J"),
              L("left", "key Left")) +
      Replace(kMeka.substr(joypad2), "joy stick 0 axis 1 dir 0", "joy_button 0");
  const std::string unknown =
      Replace(Replace(kMeka, L("up", "key Up"), L("up", "key End")),
              L("down", "joy stick 0 axis 1 dir 1"), L("down", "joy stick 1 axis 1 dir 1"));
  const std::string wide = "ScanKey1 = 123456789012, -4, 3, 4, 5, 6, 7, 8, 9, 10, 11, 4000000000";
  // One case a row, its columns in the order of the struct.
  // clang-format off
  const struct {
    const FileEmulator& format;
    int player;
    std::string text;
    Codes edits;
    std::string written;  // empty: the text
    Codes read;           // from what was written
  } cases[] = {
      {Gens(), 1, BareLineFeeds(kGens), {}, "", {{SlotC, 32}}},
      {Gens(), 1, longValue, {}, "", {{SlotDown, INT32_MAX}, {SlotC, 32}}},
      {Gens(), 1, kGens.substr(0, kGens.size() - 2), {}, "", {{SlotC, 32}}},  // no last line end
      {Gens(), 1, gensTail, {{SlotA, 45}}, Replace(gensTail, "P1.A=30\r\n", "P1.A=45\r\n"), {}},
      // A key name inside another line is no key, and a stray CR before a line end no value.
      {Gens(), 1, gensHead + Replace(kGens, "203\r\n", "203\r\r\n"), {{SlotC, 45}},
       gensHead + Replace(kGens, "P1.C=32", "P1.C=45"), {{SlotLeft, 203}}},
      {Zsnes(), 1, "a\n" + kScanKey1 + "\nb\n", {}, "", {{SlotR, 18}}},  // no digit lost
      {Zsnes(), 1, "ScanKey1 = 205,203,208,200,28,54,45,44,46,30,16,18\r\n", {},
       kScanKey1 + "\r\n", {{SlotLeft, 203}}},
      {Zsnes(), 1, wide, {},
       "ScanKey1 = 2147483647, -4, 3, 4, 5, 6, 7, 8, 9, 10, 11, 2147483647",
       {{SlotRight, INT32_MAX}, {SlotLeft, -4}}},
      // The next line's commas do not count for this one.
      {Zsnes(), 2, "ScanKey1 = 1, 2\r\nScanKey2 = 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12\r\n", {},
       "", {{SlotR, 12}}},
      {Zsnes(), 1, std::string(11000, ';') + "\r\n" + test::Fixture("zsnesw.cfg") +
                       std::string(3000, 'q'), {}, "", {}},
      {Meka(), 1, kMeka, {{SlotUp, 0x1D}, {SlotDown, 0x47} /* keypad 7 */, {SlotLeft, 0x2B},
                          {SlotJoyDown, 259}},
       Replace(Replace(kMeka, L("up", "key Up") + L("down", "key Down") + L("left", "key Left"),
                       L("up", "key Left Ctrl") + L("down", "key 7") + L("left", "key 2b")),
               "axis 1 dir 1", "axis 1 dir 0"),
       // MEKA's "7" is the main row's, and "2b" no key at all.
       {{SlotUp, 0x1D}, {SlotDown, 0x08}, {SlotLeft, 0}, {SlotJoyDown, 259}, {SlotRight, 0xCD}}},
      {Meka(), 2, kMeka, {{SlotPause, 0x39}, {SlotLeft, 0xCB}, {SlotJoyUp, 272}}, meka2,
       {{SlotPause, 0x39}, {SlotButton2, 0x23}}},
      // Lines that are not bindings stay where they are; a binding line lacking is added.
      {Meka(), 1, lacking, {{SlotJoyPause, 256 + 16 + 7}},
       Replace(lacking, button2, button2 + L("start_pause", "joy_button 7")),
       {{SlotJoyPause, 279}}},
      // Lines nobody bound anew stay as they were, values the reader does not know among them
      // (read as 0, written back they would name the 0 key and stick 0).
      {Meka(), 1, unknown, {{SlotRight, 0x1E}, {SlotJoyLeft, 273}},
       Replace(Replace(unknown, L("right", "key Right"), L("right", "key A")),
               L("left", "joy stick 0 axis 0 dir 0"), L("left", "joy_button 1")),
       {{SlotUp, 0}, {SlotRight, 0x1E}, {SlotJoyLeft, 273}}},
      {Meka(), 1, BareLineFeeds(kMeka), {}, "", {{SlotRight, 0xCD}, {SlotJoyPause, 281}}},
      {Meka(), 2, kMeka + std::string(7000, '-') + "\r\n", {}, "", {}},
      // The file grows to the emulator's buffer with zeros; a longer one keeps what lies beyond.
      {Gest(), 1, gest, {{SlotB, 0x2C}, {SlotJoyStart, 9}},
       Poke(gest, {{116, 0x2C}, {449, 9}}) + zeros, {{SlotA, 0x2D}, {SlotUp, 0xC8}}},
      {Gest(), 1, longGest, {{SlotRight, 0xCD}}, Poke(longGest, {{360, char(0xCD)}}), {}},
      // The sixth line ends at byte 2047: still found, and every binding past the end reads 0.
      {Gest(), 1, test::GestFile(2048, 2048), {},
       test::GestFile(2048, 2048) + std::string(kGestBufferBytes - 2048, '\0'),
       {{SlotJoyAutoB, 0}}},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.format.name) + " " + c.text.substr(0, 60));
    ControllerConfig config;
    ASSERT_TRUE(c.format.Read(c.text, c.player, config));
    for (auto [slot, code] : c.edits) c.format.Bind(config, slot, code);
    if (!c.edits.empty()) c.format.RefreshNames(config);
    const std::optional<std::string> written = c.format.Write(c.text, c.player, config);
    ASSERT_TRUE(written);
    EXPECT_EQ(*written, c.written.empty() ? c.text : c.written);
    ControllerConfig back;
    ASSERT_TRUE(c.format.Read(*written, c.player, back));
    for (auto [slot, code] : c.read) EXPECT_EQ(back.Code(slot), code) << BindingSlotName(slot);
  }
}

// The writers replace whole stretches that the readers find by position: where the two would
// not agree the bindings read would come back under other buttons or lines would be lost, so the
// text is left alone (as the file's test shows a file is). A read that fails leaves the bindings
// as they were: the fuzz targets check it.
// What a format refuses: to write (it may read), to read and write, or to read (the writer has
// its place).
enum Refused { kWrite, kBoth, kRead };

TEST(Emulator, EachFormatLeavesAloneATextItCannotPutTheBindingsBackInto) {
  const std::string gensNoC = kGens.substr(0, kGens.find("P1.C"));
  const std::size_t k1 = kMeka.find("[Keyboard 1]"), j1 = kMeka.find("[Joypad 1]"),
                    j2 = kMeka.find("[Joypad 2]");
  const std::string keyboard1 = kMeka.substr(k1, kMeka.find("player_reset", k1) - k1);
  // One case a row, its columns in the order of the struct.
  // clang-format off
  const struct {
    const FileEmulator& format;
    int player;
    std::string text;
    Refused refused;
  } cases[] = {
      {Gens(), 1, gensNoC, kBoth},
      {Gens(), 1, "P1.C=32\r\n" + gensNoC, kWrite},  // C before Up
      {Gens(), 1, Replace(kGens, "P1.Left=", "P1.Turbo=1\r\nP1.Left="), kWrite},
      {Gens(), 1, Replace(Replace(kGens, "P1.Down=208", "P1.Left=203"),
                          "P1.Left=203\r\nP1.Right", "P1.Down=208\r\nP1.Right"), kWrite},
      // Other spacing around "=" would put the eleventh character inside the numbers.
      // The next line's commas do not count for this one; the writer has its place.
      {Zsnes(), 1, "ScanKey1 = 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11\r\nScanKey2 = 1, 2\r\n", kRead},
      {Zsnes(), 1, "ScanKey1 =", kBoth},
      {Zsnes(), 1, "ScanKey1\r\n =" + kTwelve, kBoth},
      {Zsnes(), 1, "ScanKey1=" + kTwelve.substr(1), kBoth},
      {Zsnes(), 1, "; ScanKey1 holds player 1's keys\r\nScanKey1 =" + kTwelve, kBoth},
      {Meka(), 1, Replace(kMeka, "[Keyboard 1]", "[Keyboard 9]"), kBoth},
      {Meka(), 2, Replace(kMeka, "[Keyboard 2]", "[Keyboard X]"), kBoth},
      {Meka(), 1, Replace(kMeka, "[Joypad 1]", "[Joypad X]"), kBoth},
      {Meka(), 2, Replace(kMeka, "[Joypad 1]", "[Joypad X]"), kWrite},
      {Meka(), 2, Replace(kMeka, "[Mouse 1]", "[Mouse X]"), kWrite},
      {Meka(), 1, Replace(kMeka, "player_reset        = key", "player_rest         = key"), kWrite},
      {Meka(), 2, kMeka.substr(0, kMeka.find(L("start_pause", "joy_button 11"))), kBoth},
      // Sections swapped: the reset line now stands after "[Joypad 1]".
      {Meka(), 1, kMeka.substr(0, k1) + kMeka.substr(j1, j2 - j1) + kMeka.substr(k1, j1 - k1) +
                      kMeka.substr(j2), kWrite},
      // Lines out of order, a binding line twice, a section twice.
      {Meka(), 1, Replace(Replace(kMeka, L("down", "key Down"), L("left", "key Down")),
                          L("left", "key Left"), L("down", "key Left")), kWrite},
      {Meka(), 1, Replace(kMeka, L("button1", "joy_button 0"),
                          L("button1", "joy_button 0") + L("button1", "joy_button 0")), kWrite},
      {Meka(), 1, Replace(kMeka, "[Keyboard 1]", keyboard1 + "[Keyboard 1]"), kWrite},
      // A comment holding the marker the reader looks for.
      {Meka(), 2, Replace(kMeka, L("down", "key K"), "; key X\r\n" + L("down", "key K")), kWrite},
      // Lines the reader passes over: pause read from the next section's "type = joypad", and
      // left from the right line, which holds no joystick text.
      {Meka(), 1,
       Replace(Replace(kMeka, "= joy stick 0 axis 0 dir 0", "= jxy stick 0 axis 0 dir 0"),
               "axis 0 dir 1", "axis 0 dirx1"),
       kWrite},
      // A lacking line with nothing to write.
      {Meka(), 1, Replace(kMeka, L("start_pause", "joy_button 9") + L("reset", "joy_button 8"), ""),
       kWrite},
      {Gest(), 1, "1\n2\n3\n4\n5\n" + std::string(3000, 'x') + "\n", kBoth},
      {Gest(), 1, test::GestFile(2049, 2100), kBoth},  // the sixth line ends past 2048 bytes
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.format.name) + " " + std::to_string(c.player) + " " + c.text);
    ControllerConfig config;
    const bool read = c.format.Read(c.text, c.player, config);
    EXPECT_TRUE(c.refused == kWrite || !read);
    if (c.refused == kRead) continue;
    EXPECT_FALSE(c.format.Write(c.text, c.player, config));
  }
}

}  // namespace
}  // namespace vt
