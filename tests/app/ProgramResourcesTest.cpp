// What Windows reads from VTBrowser.exe before it runs a line of it: the version resource (file
// properties, the installed-programs list) and the manifest (run as the invoking user, not DPI
// aware, the supported Windows versions), read back from the built file.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(ProgramResources, VersionResourceAndManifest) {
  std::string path = std::string("Z:") + VT_CLIENT_EXE;
  for (char& c : path) c = c == '/' ? '\\' : c;
  DWORD ignored = 0;
  std::vector<char> info(GetFileVersionInfoSizeA(path.c_str(), &ignored));
  ASSERT_FALSE(info.empty()) << path;
  ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &size));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
  for (auto [name, value] : {std::pair{"ProductName", "VTBrowser"},
                             {"ProductVersion", "1.0"},
                             {"FileVersion", "1.0"},
                             {"CompanyName", "Vintara"},
                             {"OriginalFilename", "VTBrowser.exe"},
                             {"FileDescription", ""}}) {
    char* text = nullptr;
    const std::string query = std::string("\\StringFileInfo\\040904B0\\") + name;
    ASSERT_TRUE(
        VerQueryValueA(info.data(), query.c_str(), reinterpret_cast<void**>(&text), &size) && text)
        << name;
    EXPECT_NE(std::string(text).find(*value ? value : "Vintara"), std::string::npos)
        << name << ": " << text;
  }
  HMODULE file = LoadLibraryExA(path.c_str(), nullptr,
                                LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  HRSRC found = FindResourceA(file, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
  ASSERT_NE(found, nullptr);
  const std::string manifest(static_cast<const char*>(LockResource(LoadResource(file, found))),
                             SizeofResource(file, found));
  FreeLibrary(file);
  for (const char* part :
       {"level=\"asInvoker\"",
        "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">false",
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
        "processorArchitecture=\"amd64\""})
    EXPECT_NE(manifest.find(part), std::string::npos) << part;
}

}  // namespace
