// The emulators' configurations. The four file formats over texts the samples do not show: what
// each writes back byte for byte, the bytes a change writes, and the texts it leaves alone
// because its writer could not put the bindings back where its reader takes them.
#include "emuconfig/Emulator.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "emuconfig/EmulatorLocations.h"
#include "tests/support/EmulatorFolder.h"

#ifndef _WIN32
#include <sys/resource.h>

#include <csignal>
#endif

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

// A gest.cfg: six text lines ending at `lineEnd` (the sixth LF is at lineEnd - 1), then `size`
// bytes in all with a non-zero pattern, so untouched bytes can be told from padding.
std::string GestFile(std::size_t lineEnd, std::size_t size) {
  std::string bytes = "Gest 1.1.1\n320\n288\n0\nC:\\Games\\Emu\\roms\nSound=1";
  if (bytes.size() + 1 < lineEnd) bytes.append(lineEnd - 1 - bytes.size(), 'x');
  bytes += '\n';
  for (std::size_t i = bytes.size(); i < size; ++i)
    bytes.push_back(static_cast<char>(0x80 | (i * 7 % 127)));
  bytes.resize(size);
  return bytes;
}

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
  const std::string gest = Poke(GestFile(100, 4000), {{112, 0x2D}, {148, char(0xC8)}});
  const std::string longGest = GestFile(300, 15000);
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
      {Gest(), 1, GestFile(2048, 2048), {},
       GestFile(2048, 2048) + std::string(kGestBufferBytes - 2048, '\0'),
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
      {Gest(), 1, GestFile(2049, 2100), kBoth},  // the sixth line ends past 2048 bytes
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

// What every file gets from the one way they are all read and replaced (so Gens's shows it): a
// missing file is never created, one the format cannot write into is left as it is, unchanged
// bindings save the same bytes, a temporary file left behind is taken over, and a write that
// fails half-way keeps the old file (as it keeps the settings file where that is the system's
// store).
#ifdef _WIN32
// The temporary file beside the target cannot be made: a folder of its name is in the way.
struct BlockedWrites {
  explicit BlockedWrites(std::string temp) : temp(std::move(temp)) {
    std::filesystem::create_directory(this->temp);
  }
  ~BlockedWrites() { std::filesystem::remove(temp); }
  std::string temp;
};
#else
// Writes stop at 200 bytes, as on a full disk.
struct BlockedWrites {
  explicit BlockedWrites(const std::string&) : handler(std::signal(SIGXFSZ, SIG_IGN)) {
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limit = saved;
    limit.rlim_cur = 200;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~BlockedWrites() {
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, handler);
  }
  void (*handler)(int);
  rlimit saved{};
};
#endif

TEST(ConfigFile, TheBytesStayUnlessAWholeNewFileReplacesThem) {
  test::EmulatorFolder folder;
  EXPECT_FALSE(folder.Load(Gens()));
  EXPECT_EQ(Gens().Save(*folder.settings, folder.config, 1, folder.host).text,
            "there is no such file, or it cannot be read");
  EXPECT_FALSE(std::filesystem::exists(folder.Path("gens.cfg")));
  folder.Put("gens.cfg", "P1.Up=200\r\n");
  EXPECT_FALSE(folder.Save(Gens()));
  EXPECT_EQ(folder.Get("gens.cfg"), "P1.Up=200\r\n");
  EXPECT_TRUE(folder.OnlyFileIs("gens.cfg"));
  folder.PutFixture("gens.cfg");
  const std::string original = folder.Get("gens.cfg");
  ASSERT_TRUE(folder.Load(Gens()));
  ASSERT_TRUE(folder.Save(Gens()));
  EXPECT_EQ(folder.Get("gens.cfg"), original);
  EXPECT_TRUE(folder.OnlyFileIs("gens.cfg"));  // nothing changed: no original kept either
  folder.Put("gens.cfg.tmp", "left by a save that was killed");
  folder.config.Code(SlotUp) = 0x11;
  Gens().RefreshNames(folder.config);
  ASSERT_TRUE(folder.Save(Gens()));
  const std::string changed = test::Replace(original, "P1.Up=200", "P1.Up=17");
  EXPECT_EQ(folder.Get("gens.cfg"), changed);
  EXPECT_TRUE(folder.OnlyFileIs("gens.cfg"));
  folder.config.Code(SlotUp) = 0x12;
  Gens().RefreshNames(folder.config);
  ASSERT_TRUE(folder.settings->CreateKey(Hive::Machine, "Software\\Vintara"));
  BlockedWrites blocked(folder.Path("gens.cfg.tmp"));
  EXPECT_FALSE(folder.Save(Gens()));
  EXPECT_EQ(folder.Get("gens.cfg"), changed);
#ifndef _WIN32  // the settings file is the system's store here, the registry on Windows
  const std::string settings = folder.Get("registry.txt"), value(3000, 'a');
  EXPECT_FALSE(folder.settings->SetValue(Hive::Machine, "Software\\Vintara", "SEARCH", 0, value));
  EXPECT_EQ(folder.Get("registry.txt"), settings);
#endif
}

TEST(EmulatorLocations, FolderComesFromVtPathAsStored) {
  test::TempDir dir;
  auto store = OpenFileSettings(dir.File("registry.txt"));
  const std::string key = "Software\\Vintara";
  auto folder = [&](std::uint32_t type, const std::string& value) {
    EXPECT_TRUE(store->SetValue(Hive::Machine, key, "VT_PATH", type, value));
    return LookUpEmulatorFolder(*store);
  };
  EXPECT_EQ(LookUpEmulatorFolder(*store), "");
  ASSERT_TRUE(store->CreateKey(Hive::Machine, key));
  EXPECT_EQ(LookUpEmulatorFolder(*store), "");
  const std::string emu = folder(kTypeString, std::string("C:\\Games\\Emu\0", 13));
  EXPECT_EQ(Gens().Location(emu, 2), "C:\\Games\\Emu\\gens.cfg");
  // No type check, no terminator needed, a trailing backslash kept.
  EXPECT_EQ(Zsnes().Location(folder(kTypeNone, "D:\\Emu\\"), 1), "D:\\Emu\\\\zsnesw.cfg");
  EXPECT_EQ(folder(kTypeString, std::string(255, 'p')), std::string(255, 'p'));
  // No room for the terminator in the 256-byte buffer: not a folder name.
  EXPECT_EQ(folder(kTypeString, std::string(256, 'p')), "");
  // The user hive is not looked at.
  ASSERT_TRUE(store->CreateKey(Hive::User, key));
  ASSERT_TRUE(store->SetValue(Hive::User, key, "VT_PATH", kTypeString, "E:\\x"));
  EXPECT_EQ(LookUpEmulatorFolder(*store), "");
}

// nester's bindings in the current user's registry tree (the file store here, the same
// semantics), and where the kept original of them lives (its restore is vtcli's table's).
const char* const kButtons[] = {"Up", "Down", "Left", "Right", "Select", "Start", "A", "B"};
const std::string kTree = "Software\\nester\\NES\\Input";

struct NesterTest : ::testing::Test, test::EmulatorFolder {
  std::string Key(int player, const char* button) {
    return kTree + "\\Controller" + std::to_string(player) + "\\" + button;
  }
  // Every value of one player's eight keys with its type.
  std::string Snapshot(int player) {
    std::string all;
    for (const char* button : kButtons)
      for (const char* name : {"DeviceGUID", "DeviceType", "JAxisPositive", "JOffset", "Key"}) {
        std::string bytes;
        std::uint32_t type = 0;
        settings->QueryValue(Hive::User, Key(player, button), name, bytes, &type);
        all += std::to_string(type) + ":" + bytes + "|";
      }
    return all;
  }
  bool Load(ControllerConfig& c, int player) { return Nester().Load(*settings, c, player, host); }
};

// The first load writes the defaults to all sixteen keys, in nester's own value types; a record
// read back is the one saved (but for the high bytes of its key), and a player's save touches
// only that player's keys.
TEST_F(NesterTest, FirstUseWritesTheDefaultsAndEachPlayerKeepsItsOwnRecords) {
  ASSERT_TRUE(Load(config, 1));
  const std::string keyboard(reinterpret_cast<const char*>(kGuidSysKeyboard.data()), 16);
  std::string defaults;
  for (char key : std::string("\xC8\xD0\xCB\xCD\x1E\x1F\x2D\x2C"))
    defaults += "3:" + keyboard + "|4:" + std::string("\x01\0\0\0|4:\0\0\0\0|4:\0\0\0\0|3:", 21) +
                key + "|";
  EXPECT_EQ(Snapshot(1), defaults);
  EXPECT_EQ(Snapshot(2), defaults);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_FALSE(Load(config, 0));

  NesterBinding button{{}, kNesterJoystickButton, 0, 53, 0x12D};
  for (int i = 0; i < 16; ++i) button.DeviceGUID[i] = static_cast<std::uint8_t>(0x10 + i);
  config.nesRecords[6] = button;
  ASSERT_TRUE(Save(Nester(), 2));
  EXPECT_EQ(Snapshot(1), defaults);
  ControllerConfig p2;
  ASSERT_TRUE(Load(p2, 2));
  button.Key = 0x2D;
  EXPECT_EQ(p2.nesRecords[6], button);
  EXPECT_EQ(p2.DisplayName(SlotA), "J35");
  EXPECT_EQ(Nester().Stored(p2, SlotA), (std::vector<std::int64_t>{2, 0x2D, 53, 0}));
}

// nester's Key is read as nester reads it, into four bytes of which the first is the key: a
// value another tool wrote wider still loads as its key, and one wider than four as no key.
TEST_F(NesterTest, TheKeyIsTheFirstOfUpToFourBytes) {
  ASSERT_TRUE(Load(config, 1));  // every key made, with its default
  for (std::size_t width = 1; width <= 5; ++width) {
    const std::string bytes("\x2D\x11\x22\x33\x44", width);
    ASSERT_TRUE(settings->SetValue(Hive::User, Key(1, "Up"), "Key", kTypeBinary, bytes));
    ControllerConfig c;
    ASSERT_TRUE(Load(c, 1));
    EXPECT_EQ(c.nesRecords[0].Key, width <= 4 ? 0x2Du : 0u) << width << " bytes";
  }
}

// A load gives defaults only to the keys that are missing (a player's own bindings survive the
// other's keys being absent, which is common); a save creates none: each missing one says so,
// and the others are still written.
TEST_F(NesterTest, MissingKeysGetDefaultsOnALoadAndAMessageOnASave) {
  ASSERT_TRUE(settings->CreateKey(Hive::User, Key(1, "Up")));
  ASSERT_TRUE(settings->CreateKey(Hive::User, Key(2, "Select")));
  config.nesRecords[0] = NesterKeyboardBinding(0x11);
  config.nesRecords[4].DeviceType = 7;
  EXPECT_FALSE(Save(Nester(), 1));
  EXPECT_FALSE(Save(Nester(), 2));
  EXPECT_EQ(host.messages, std::vector<std::string>(14, "Not Sure: Hmmmmm"));
  std::string type;
  ASSERT_TRUE(settings->QueryValue(Hive::User, Key(2, "Select"), "DeviceType", type));
  EXPECT_EQ(type, std::string("\x07\0\0\0", 4));
  EXPECT_FALSE(settings->KeyExists(Hive::User, Key(2, "Up")));
  EXPECT_EQ(Nester().Location({}, 2),
            "the registry key HKEY_CURRENT_USER\\Software\\nester\\NES\\Input\\Controller2");
  ControllerConfig p2, p1;
  ASSERT_TRUE(Load(p2, 2));
  EXPECT_EQ(p2.nesRecords[0], NesterKeyboardBinding(0xC8));
  EXPECT_EQ(p2.nesRecords[4].DeviceType, 7u);
  ASSERT_TRUE(Load(p1, 1));
  EXPECT_EQ(p1.DisplayName(SlotUp), "W");
  EXPECT_EQ(p1.DisplayName(SlotB), "Z");
}

// The first save keeps nester's values in the client's own key, once. A copy an earlier version
// kept in nester's own tree is moved there when complete, and leaves nester's tree either way.
TEST_F(NesterTest, TheOriginalIsKeptInTheClientsKeyAndAnOldCopyInNestersTreeIsMoved) {
  const std::string kept = "Software\\Vintara\\Originals\\nester";
  const std::string old = kTree + ".vintara-original";
  auto putUp = [&](const std::string& root, char key) {
    const std::string up = root + "\\Controller1\\Up";
    return settings->CreateKey(Hive::User, up) &&
           settings->SetValue(Hive::User, up, "Key", kTypeBinary, std::string(1, key));
  };
  const struct {
    bool oldCopy, oldComplete;
    char kept;
  } cases[] = {{false, false, '\x11'}, {true, true, '\x22'}, {true, false, '\x11'}};
  for (const auto& c : cases) {
    settings = OpenFileSettings(dir.File(std::to_string(c.oldCopy + 2 * c.oldComplete)));
    ASSERT_TRUE(putUp(kTree, '\x11'));
    ASSERT_TRUE(!c.oldCopy || putUp(old, '\x22'));
    ASSERT_TRUE(!c.oldComplete ||
                settings->SetValue(Hive::User, old, "Complete", kTypeString, "1"));
    for (std::uint8_t key : {0x33, 0x44}) {  // the second save takes no second copy
      ASSERT_TRUE(Load(config, 1));
      config.nesRecords[0] = NesterKeyboardBinding(key);
      ASSERT_TRUE(Save(Nester(), 1));
    }
    std::string up, complete;
    EXPECT_FALSE(settings->KeyExists(Hive::User, old));
    EXPECT_TRUE(settings->QueryValue(Hive::User, kept + "\\Controller1\\Up", "Key", up));
    EXPECT_EQ(up, std::string(1, c.kept));
    EXPECT_TRUE(settings->QueryValue(Hive::User, kept, "Complete", complete));
  }
}

}  // namespace
}  // namespace vt
