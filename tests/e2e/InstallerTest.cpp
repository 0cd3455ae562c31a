// VTBrowser-Setup.exe (a 32-bit program) run silently, its installed client and its uninstaller.
#include <windows.h>
#include <sddl.h>

#include <set>

#include "tests/e2e/ServiceCase.h"

namespace vt::e2e {
namespace {

const char* const kUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\VTBrowser";
const char* const kAliases[] = {"NES", "SNES", "2600", "GEN", "GBC", "SMS", "SGG", "COL"};
const char* const kPrograms[] = {"nester.exe", "zsnesw.exe", "stella.exe", "gens.exe",
                                 "gest.exe",   "meka.exe",   "meka.exe",   "meka.exe"};

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A value of the installed-programs entry (64-bit view) and its type, or "<missing>".
std::string EntryValue(const char* name, DWORD* type = nullptr) {
  return RegistryValue(HKEY_LOCAL_MACHINE, kUninstallKey, KEY_WOW64_64KEY, name, type);
}

std::string Sz(const std::string& text) { return text + '\0'; }

// Software\Vintara's access list (32-bit view) in the security descriptor language.
std::string AccessList() {
  HKEY h = nullptr;
  RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Vintara", 0, READ_CONTROL | KEY_WOW64_32KEY, &h);
  char descriptor[4096];
  DWORD size = sizeof descriptor;
  char* text = nullptr;
  if (RegGetKeySecurity(h, DACL_SECURITY_INFORMATION, descriptor, &size) == ERROR_SUCCESS)
    ConvertSecurityDescriptorToStringSecurityDescriptorA(descriptor, SDDL_REVISION_1,
                                                         DACL_SECURITY_INFORMATION, &text, nullptr);
  RegCloseKey(h);
  const std::string sddl = text ? text : "<none>";
  LocalFree(text);
  return sddl;
}

class Installer : public ServiceCase {
protected:
  void SetUp() override {
    ServiceCase::SetUp();
    Uninstall();  // a run before this one may have left it installed
    ClearVintaraKey();
  }
  void TearDown() override {
    Uninstall();
    Client("cmd /c rd /s /q \"" + emulators + "\"").WaitExit();
    ServiceCase::TearDown();
  }
  // Runs the installer to its end with the options; its exit code.
  static DWORD Install(const std::string& options) {
    const std::string setup = '"' + WindowsPath(VT_E2E_SETUP);  // two sums: GCC 12 warns wrongly
    return Client(setup + "\" /S " + options).WaitExit(120000);
  }
  // The uninstaller hands over to a copy of itself and ends at once: done once its last step,
  // taking away the installed-programs entry, is done (the folder goes before the registry).
  void Uninstall() {
    const std::string uninstaller = installed + "\\Uninstall.exe";
    if (!Exists(uninstaller)) return;
    Client("\"" + uninstaller + "\" /S").WaitExit(120000);
    WaitUntil([] { return EntryValue("DisplayName") == "<missing>"; }, 60000);
  }
  // The deployment values an install with this emulator folder writes.
  std::map<std::string, std::string> Installed(const std::string& folder) const {
    std::map<std::string, std::string> values = {
        {"VT_PATH", Sz(folder)}, {"GameServer", Sz("127.0.0.1")}, {"WebHost", Sz(web)}};
    for (int i = 0; i < 8; ++i)
      values[std::string(kAliases[i]) + "_PATH"] = Sz(folder + "\\" + kPrograms[i]);
    return values;
  }
  // Software\Vintara's deployment values, "<missing>" where there is none.
  std::map<std::string, std::string> Deployment() const {
    std::map<std::string, std::string> values = Installed("");
    for (auto& [name, value] : values) value = VintaraValue(name);
    return values;
  }

  std::string emulators = TempPath("installed emulators");  // a blank, as in "Program Files"
  std::string installed = std::getenv("ProgramFiles") + std::string("\\VTBrowser");
  std::string shortcut =
      std::getenv("ProgramData") +
      std::string("\\Microsoft\\Windows\\Start Menu\\Programs\\Vintara\\VTBrowser.lnk");
};

// A fresh install writes every value and creates the emulator folder; the installed client runs;
// a second install keeps what it finds; the uninstall takes away what the install created.
TEST_F(Installer, FreshInstallRunReinstallAndUninstall) {
  ASSERT_FALSE(Exists(emulators));
  ASSERT_EQ(Install("/EMULATORS=\"" + emulators + "\" /GAMESERVER=127.0.0.1 /WEBHOST=" + web), 0u);
  EXPECT_TRUE(Exists(emulators)) << "the emulator folder is created";
  for (const char* file : {"VTBrowser.exe", "vtcli.exe", "Uninstall.exe"})
    EXPECT_TRUE(Exists(installed + "\\" + file)) << file;
  EXPECT_TRUE(Exists(shortcut));
  DWORD type = 0;
  EXPECT_EQ(EntryValue("DisplayName", &type), Sz("VTBrowser"));
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(EntryValue("UninstallString"), Sz("\"" + installed + "\\Uninstall.exe\""));

  // Software\Vintara in the 32-bit view, every value a REG_SZ; nothing in the 64-bit view.
  EXPECT_EQ(Deployment(), Installed(emulators));
  VintaraValue("NES_PATH", &type);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(RegistryValue(HKEY_LOCAL_MACHINE, "Software\\Vintara", KEY_WOW64_64KEY, "VT_PATH"),
            "<missing>");
  // Only SYSTEM and Administrators may change the key; Users may read it (KR), and no other
  // group (Authenticated Users, Everyone, Interactive) is named or inherited (P).
  EXPECT_EQ(AccessList(), "D:P(A;CI;KA;;;SY)(A;CI;KA;;;BA)(A;CI;KR;;;BU)");

  // The installed client logs in and saves its state.
  for (const char* name : {"gens.cfg", "meka.inp"})
    test::WriteFileBytes(emulators + "\\" + name, std::string("keep ") + name);
  {
    Client client("\"" + installed + "\\VTBrowser.exe\"");
    LogIn(Await(client, Kind::Login), "demo", "demo");
    AwaitBrowser(client);
    Click(browser, IDC_BROWSER_SNES);
    CloseAndEnd(client, browser);
  }
  ASSERT_EQ(UserValue("SYSTEM"), "SNES");

  // A second install over the first keeps what it finds and what the user saved.
  ASSERT_EQ(Install(""), 0u);
  EXPECT_EQ(Deployment(), Installed(emulators));

  // The uninstaller takes away what the first install created, and nothing of the user's.
  Uninstall();
  EXPECT_FALSE(Exists(installed));
  EXPECT_FALSE(Exists(shortcut));
  EXPECT_EQ(EntryValue("DisplayName"), "<missing>");
  for (const auto& [name, value] : Deployment()) EXPECT_EQ(value, "<missing>") << name;
  EXPECT_EQ(UserValue("SYSTEM"), "SNES") << "the user's saved state stays";
  for (const char* name : {"gens.cfg", "meka.inp"})
    EXPECT_EQ(ReadWholeFile(emulators + "\\" + name), std::string("keep ") + name);
}

// Values an earlier installation of the service left (emulators elsewhere) stay through an
// install and its uninstall; only the values the install created go again. /EMULATORS= names
// new emulator values and rewrites them; they stay too, as they were not this install's.
TEST_F(Installer, AnEarlierInstallationsValuesStayThroughInstallAndUninstall) {
  const std::string earlier = TempPath("earlier emulators");
  std::map<std::string, std::string> before = Installed(earlier);
  before["NES_PATH"] = Sz(earlier + "\\nester97.exe");
  PrepareVintaraKey(web, {});  // GameServer and WebHost as the earlier install left them
  for (const char* name : {"VT_PATH", "NES_PATH"}) SetVintaraValue(name, before[name], REG_SZ);

  ASSERT_EQ(Install("/GAMESERVER=127.0.0.1"), 0u);
  EXPECT_EQ(Deployment(), before) << "kept, and the missing programs beside the kept folder";
  EXPECT_TRUE(Exists(earlier)) << "the kept folder is created when missing";
  Uninstall();
  const std::set<std::string> kept = {"VT_PATH", "NES_PATH", "GameServer", "WebHost"};
  for (const auto& [name, value] : Deployment())
    EXPECT_EQ(value, kept.count(name) ? before[name] : "<missing>") << name;

  ASSERT_EQ(Install("/EMULATORS=\"" + emulators + "\""), 0u);
  EXPECT_EQ(Deployment(), Installed(emulators));
  Uninstall();
  for (const auto& [name, value] : Deployment())
    EXPECT_EQ(value, kept.count(name) ? Installed(emulators)[name] : "<missing>") << name;
  RemoveDirectoryA(earlier.c_str());
}

}  // namespace
}  // namespace vt::e2e
